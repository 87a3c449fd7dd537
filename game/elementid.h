#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace quorvale {

// Every element of the window, by the name the game knows it under, and what kind of element it
// is. The enum, the names and the kinds below all come from this one list, so a new element is
// one new row and a row cannot be left out of any of them.
#define QUORVALE_ELEMENTS(X)                                                                       \
    X(frmmaze, Form)                                                                               \
    X(shpborder, Shape)                                                                            \
    X(shp1, Wall)                                                                                  \
    X(shp2, Wall)                                                                                  \
    X(shp3, Wall)                                                                                  \
    X(shp4, Wall)                                                                                  \
    X(shp5, Wall)                                                                                  \
    X(shp6, Wall)                                                                                  \
    X(shp7, Wall)                                                                                  \
    X(shp8, Wall)                                                                                  \
    X(shp9, Wall)                                                                                  \
    X(shp10, Wall)                                                                                 \
    X(shp11, Wall)                                                                                 \
    X(shp12, Wall)                                                                                 \
    X(shp13, Wall)                                                                                 \
    X(shp14, Wall)                                                                                 \
    X(shp15, Wall)                                                                                 \
    X(shp16, Wall)                                                                                 \
    X(shp17, Wall)                                                                                 \
    X(shp18, Wall)                                                                                 \
    X(shp19, Wall)                                                                                 \
    X(shp20, Wall)                                                                                 \
    X(shp21, Wall)                                                                                 \
    X(shp22, Wall)                                                                                 \
    X(shp23, Wall)                                                                                 \
    X(shp24, Wall)                                                                                 \
    X(shp25, Wall)                                                                                 \
    X(shp26, Wall)                                                                                 \
    X(shp27, Wall)                                                                                 \
    X(shp28, Wall)                                                                                 \
    X(shp29, Wall)                                                                                 \
    X(shp30, Wall)                                                                                 \
    X(shp31, Wall)                                                                                 \
    X(shp32, Wall)                                                                                 \
    X(shp33, Wall)                                                                                 \
    X(shp34, Wall)                                                                                 \
    X(shp35, Wall)                                                                                 \
    X(shp36, Wall)                                                                                 \
    X(shp37, Wall)                                                                                 \
    X(shp38, Wall)                                                                                 \
    X(shp39, Wall)                                                                                 \
    X(shp40, Wall)                                                                                 \
    X(shp41, Wall)                                                                                 \
    X(shpyou, Shape)                                                                               \
    X(shpgoal, Shape)                                                                              \
    X(shpball1, Shape)                                                                             \
    X(shpball2, Shape)                                                                             \
    X(shpstop1, Shape)                                                                             \
    X(shpstop2, Shape)                                                                             \
    X(cmdstart, CommandButton)                                                                     \
    X(txtcheat, TextBox)                                                                           \
    X(fraborder, Frame)                                                                            \
    X(optred, OptionButton)                                                                        \
    X(optgreen, OptionButton)                                                                      \
    X(optblue, OptionButton)                                                                       \
    X(optyellow, OptionButton)                                                                     \
    X(lblabout, Label)                                                                             \
    X(Timer1, Timer)                                                                               \
    X(Timer2, Timer)

enum class ElementKind : std::uint8_t {
    Form,
    Shape, // a figure on the board that is not a wall: the board itself, a piece, a marker
    Wall,
    CommandButton,
    TextBox,
    Frame,
    OptionButton,
    Label,
    Timer,
};

enum class Element : std::uint8_t {
#define QUORVALE_ELEMENT_ID(name, kind) name,
    QUORVALE_ELEMENTS(QUORVALE_ELEMENT_ID)
#undef QUORVALE_ELEMENT_ID
};

struct ElementInfo
{
    Element id;
    std::string_view name;
    ElementKind kind;
};

inline constexpr std::array elements = {
#define QUORVALE_ELEMENT_INFO(name, kind) ElementInfo{Element::name, #name, ElementKind::kind},
    QUORVALE_ELEMENTS(QUORVALE_ELEMENT_INFO)
#undef QUORVALE_ELEMENT_INFO
};

inline constexpr std::size_t elementCount = elements.size();

// The properties the game writes at run time; a change notice names one of them.
enum class Property : std::uint8_t {
    Left,
    Top,
    Shape,
    FillColor,
    BorderColor,
    BackColor,
    Visible,
    Enabled,
    Value,
    Text,
    Caption,
};

constexpr std::size_t index(Element e)
{
    return static_cast<std::size_t>(e);
}

constexpr std::string_view name(Element e)
{
    return elements[index(e)].name;
}

constexpr ElementKind kind(Element e)
{
    return elements[index(e)].kind;
}

constexpr bool isWall(Element e)
{
    return kind(e) == ElementKind::Wall;
}

constexpr bool isShape(Element e)
{
    return kind(e) == ElementKind::Shape || kind(e) == ElementKind::Wall;
}

// How many elements of a kind there are, and which, in the order of the list.
constexpr std::size_t countOf(ElementKind k)
{
    std::size_t n = 0;
    for (const ElementInfo &e : elements)
        n += e.kind == k ? 1 : 0;
    return n;
}

template<ElementKind K>
constexpr std::array<Element, countOf(K)> elementsOfKind()
{
    std::array<Element, countOf(K)> found{};
    std::size_t n = 0;
    for (const ElementInfo &e : elements) {
        if (e.kind == K)
            found[n++] = e.id;
    }
    return found;
}

inline constexpr auto wallElements = elementsOfKind<ElementKind::Wall>();
inline constexpr auto optionButtons = elementsOfKind<ElementKind::OptionButton>();
inline constexpr auto timers = elementsOfKind<ElementKind::Timer>();
inline constexpr int wallCount = static_cast<int>(wallElements.size());

// shp1 .. shp41 by number.
constexpr Element wall(int number)
{
    return wallElements[static_cast<std::size_t>(number - 1)];
}

// Where an element stands among those of its kind: 0 for shp1, optred or Timer1.
constexpr std::size_t slotOf(Element e)
{
    std::size_t n = 0;
    for (const ElementInfo &info : elements) {
        if (info.id == e)
            return n;
        n += info.kind == kind(e) ? 1 : 0;
    }
    return n;
}

// The shapes in the order of the list, walls among them. They are listed together, so that a
// shape's place among them is its distance from the first.
inline constexpr auto shapeElements = [] {
    std::array<Element, countOf(ElementKind::Shape) + countOf(ElementKind::Wall)> found{};
    std::size_t n = 0;
    for (const ElementInfo &e : elements) {
        if (isShape(e.id))
            found[n++] = e.id;
    }
    return found;
}();

constexpr std::size_t shapeSlot(Element e)
{
    return index(e) - index(shapeElements.front());
}

static_assert(index(shapeElements.back()) - index(shapeElements.front()) + 1 ==
                  shapeElements.size(),
              "shapes must be listed together");
static_assert(wall(1) == Element::shp1 && wall(wallCount) == Element::shp41);

// An element was asked of a store that does not hold it: a fault in the program, never a game
// state, so it stops the program at once instead of answering with some other element.
[[noreturn]] inline void elementNotHeld(std::string_view store, Element e)
{
    std::fprintf(stderr, "quorvale: %.*s holds no element %.*s\n", static_cast<int>(store.size()),
                 store.data(), static_cast<int>(name(e).size()), name(e).data());
    std::abort();
}

} // namespace quorvale
