#pragma once

#include "elementid.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quorvale {

// The menus: name, the menu it opens from (none for the bar itself) and caption, in the order
// they appear. A menu only opens its list; choosing it runs nothing.
#define QUORVALE_MENUS(X)                                                                          \
    X(mnufile, none, "File")                                                                       \
    X(mnuedit, none, "Edit")                                                                       \
    X(mnueditshape, mnuedit, "Your Shape")                                                         \
    X(mnueditball, mnuedit, "Ball Colour")                                                         \
    X(mnueditback, mnuedit, "BackGround")                                                          \
    X(mnuhelp, none, "Help")

// Everything a player can click that runs a procedure: name, kind, the menu it sits in (none for
// a control on the board) and caption (the start button shows a picture, no text). A click runs the
// procedure named after it, `name_Click`. Menu items appear in their menu in the order they are
// listed here.
#define QUORVALE_CLICKABLES(X)                                                                     \
    X(cmdstart, CommandButton, none, "")                                                           \
    X(optred, OptionButton, none, "Red")                                                           \
    X(optgreen, OptionButton, none, "Green")                                                       \
    X(optblue, OptionButton, none, "Blue")                                                         \
    X(optyellow, OptionButton, none, "Yellow")                                                     \
    X(mnufilestart, MenuItem, mnufile, "Start Over")                                               \
    X(mnufilequit, MenuItem, mnufile, "Quit")                                                      \
    X(mnueditshapesquare, MenuItem, mnueditshape, "Square")                                        \
    X(mnueditshapecircle, MenuItem, mnueditshape, "Circle")                                        \
    X(mnueditshapers, MenuItem, mnueditshape, "rounded Square")                                    \
    X(mnueditballred, MenuItem, mnueditball, "Red")                                                \
    X(mnueditballblue, MenuItem, mnueditball, "Blue")                                              \
    X(mnueditballgreen, MenuItem, mnueditball, "Green")                                            \
    X(mnueditbackyellow, MenuItem, mnueditback, "Yellow")                                          \
    X(mnueditbackorange, MenuItem, mnueditback, "orange")                                          \
    X(mnuhelpabout, MenuItem, mnuhelp, "About")

enum class Menu : std::uint8_t {
    none,
#define QUORVALE_MENU_ID(name, parent, caption) name,
    QUORVALE_MENUS(QUORVALE_MENU_ID)
#undef QUORVALE_MENU_ID
};

struct MenuInfo
{
    Menu id;
    std::string_view name;
    Menu parent;
    std::string_view caption;
};

inline constexpr std::array menus = {
#define QUORVALE_MENU_INFO(name, parent, caption)                                                  \
    MenuInfo{Menu::name, #name, Menu::parent, caption},
    QUORVALE_MENUS(QUORVALE_MENU_INFO)
#undef QUORVALE_MENU_INFO
};

enum class Clickable : std::uint8_t {
#define QUORVALE_CLICKABLE_ID(name, kind, menu, caption) name,
    QUORVALE_CLICKABLES(QUORVALE_CLICKABLE_ID)
#undef QUORVALE_CLICKABLE_ID
};

enum class ClickableKind : std::uint8_t { CommandButton, OptionButton, MenuItem };

struct ClickableInfo
{
    Clickable id;
    std::string_view name;
    ClickableKind kind;
    Menu menu;
    std::string_view caption;
};

inline constexpr std::array clickables = {
#define QUORVALE_CLICKABLE_INFO(name, kind, menu, caption)                                         \
    ClickableInfo{Clickable::name, #name, ClickableKind::kind, Menu::menu, caption},
    QUORVALE_CLICKABLES(QUORVALE_CLICKABLE_INFO)
#undef QUORVALE_CLICKABLE_INFO
};

inline constexpr std::size_t clickableCount = clickables.size();

constexpr const ClickableInfo &info(Clickable c)
{
    return clickables[static_cast<std::size_t>(c)];
}

constexpr std::string_view name(Clickable c)
{
    return info(c).name;
}

constexpr std::optional<Clickable> clickableNamed(std::string_view n)
{
    for (const ClickableInfo &c : clickables) {
        if (c.name == n)
            return c.id;
    }
    return std::nullopt;
}

// The element a click on a control lands on; menu items are no element of the board.
constexpr std::optional<Element> elementOf(Clickable c)
{
    if (info(c).kind == ClickableKind::MenuItem)
        return std::nullopt;
    for (const ElementInfo &e : elements) {
        if (e.name == name(c))
            return e.id;
    }
    return std::nullopt;
}

// And the click of a control: the start button's or an option button's.
constexpr std::optional<Clickable> clickOf(Element e)
{
    for (const ClickableInfo &c : clickables) {
        if (c.kind != ClickableKind::MenuItem && c.name == name(e))
            return c.id;
    }
    return std::nullopt;
}

constexpr std::string_view caption(Element option)
{
    const auto click = clickOf(option);
    return click ? info(*click).caption : std::string_view{};
}

namespace detail {
constexpr bool controlsMatchTheirElements()
{
    for (const ClickableInfo &c : clickables) {
        if (c.kind == ClickableKind::MenuItem)
            continue;
        const auto e = elementOf(c.id);
        if (!e)
            return false;
        const bool sameKind =
            (c.kind == ClickableKind::CommandButton && kind(*e) == ElementKind::CommandButton) ||
            (c.kind == ClickableKind::OptionButton && kind(*e) == ElementKind::OptionButton);
        if (!sameKind)
            return false;
    }
    for (const Element option : optionButtons) {
        if (!clickOf(option))
            return false;
    }
    return true;
}

constexpr bool menusOpenFromEarlierMenus()
{
    for (std::size_t i = 0; i < menus.size(); ++i) {
        bool found = menus[i].parent == Menu::none;
        for (std::size_t j = 0; j < i && !found; ++j)
            found = menus[j].id == menus[i].parent;
        if (!found)
            return false;
    }
    for (const ClickableInfo &c : clickables) {
        if ((c.kind == ClickableKind::MenuItem) == (c.menu == Menu::none))
            return false;
    }
    return true;
}
} // namespace detail

// Every clickable control is an element of the same name and kind, and every option button can
// be clicked; the window builds the menu bar in one pass, which needs a menu's parent first.
static_assert(detail::controlsMatchTheirElements());
static_assert(detail::menusOpenFromEarlierMenus());

} // namespace quorvale
