#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace quorvale {

// Everything a player can click that runs a procedure.
enum class Clickable : std::uint8_t {
    cmdstart,
    optred,
    optgreen,
    optblue,
    optyellow,
    mnufilestart,
    mnufilequit,
    mnueditshapesquare,
    mnueditshapecircle,
    mnueditshapers,
    mnueditballred,
    mnueditballblue,
    mnueditballgreen,
    mnueditbackyellow,
    mnueditbackorange,
    mnuhelpabout,
};

inline constexpr std::array<std::string_view, 16> clickableNames = {
    "cmdstart",           "optred",
    "optgreen",           "optblue",
    "optyellow",          "mnufilestart",
    "mnufilequit",        "mnueditshapesquare",
    "mnueditshapecircle", "mnueditshapers",
    "mnueditballred",     "mnueditballblue",
    "mnueditballgreen",   "mnueditbackyellow",
    "mnueditbackorange",  "mnuhelpabout",
};

constexpr std::string_view name(Clickable c)
{
    return clickableNames[static_cast<std::size_t>(c)];
}

constexpr std::optional<Clickable> clickableNamed(std::string_view n)
{
    for (std::size_t i = 0; i < clickableNames.size(); ++i) {
        if (clickableNames[i] == n)
            return static_cast<Clickable>(i);
    }
    return std::nullopt;
}

// The menu bar. An entry with an action is a leaf; the others only open their lists.
struct MenuEntry
{
    std::string_view name;
    std::string_view caption;
    std::optional<Clickable> action;
    std::span<const MenuEntry> items;
};

namespace menus {
inline constexpr std::array<MenuEntry, 2> file = {{
    {"mnufilestart", "Start Over", Clickable::mnufilestart, {}},
    {"mnufilequit", "Quit", Clickable::mnufilequit, {}},
}};
inline constexpr std::array<MenuEntry, 3> editShape = {{
    {"mnueditshapesquare", "Square", Clickable::mnueditshapesquare, {}},
    {"mnueditshapecircle", "Circle", Clickable::mnueditshapecircle, {}},
    {"mnueditshapers", "rounded Square", Clickable::mnueditshapers, {}},
}};
inline constexpr std::array<MenuEntry, 3> editBall = {{
    {"mnueditballred", "Red", Clickable::mnueditballred, {}},
    {"mnueditballblue", "Blue", Clickable::mnueditballblue, {}},
    {"mnueditballgreen", "Green", Clickable::mnueditballgreen, {}},
}};
inline constexpr std::array<MenuEntry, 2> editBack = {{
    {"mnueditbackyellow", "Yellow", Clickable::mnueditbackyellow, {}},
    {"mnueditbackorange", "orange", Clickable::mnueditbackorange, {}},
}};
inline constexpr std::array<MenuEntry, 3> edit = {{
    {"mnueditshape", "Your Shape", std::nullopt, editShape},
    {"mnueditball", "Ball Colour", std::nullopt, editBall},
    {"mnueditback", "BackGround", std::nullopt, editBack},
}};
inline constexpr std::array<MenuEntry, 1> help = {{
    {"mnuhelpabout", "About", Clickable::mnuhelpabout, {}},
}};
} // namespace menus

inline constexpr std::array<MenuEntry, 3> menuBar = {{
    {"mnufile", "File", std::nullopt, menus::file},
    {"mnuedit", "Edit", std::nullopt, menus::edit},
    {"mnuhelp", "Help", std::nullopt, menus::help},
}};

} // namespace quorvale
