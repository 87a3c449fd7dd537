#pragma once

#include "colour.h"
#include "elementid.h"

#include <array>
#include <cstdint>
#include <string_view>

// The window as it is created: every value here is the element's value before the first event.
namespace quorvale::layout {

enum class ShapeKind : std::int16_t {
    Rectangle = 0,
    Square = 1,
    Oval = 2,
    Circle = 3,
    RoundedRectangle = 4,
    RoundedSquare = 5,
};

// All positions and sizes are in twips, 15 to a pixel at 96 dots per inch.
inline constexpr int twipsPerPixel = 15;
inline constexpr int clientWidth = 10050;
inline constexpr int clientHeight = 8685;
inline constexpr std::string_view caption = "Maze";
inline constexpr Colour formBackColor = colours::darkRed;

struct ShapeLayout
{
    int left;
    int top;
    int width;
    int height;
    ShapeKind shape;
    Colour fillColor;
    Colour borderColor;
    int borderWidth; // in pixels, not twips
};

inline constexpr ShapeLayout shpborder{
    1920, 120, 8055, 7935, ShapeKind::Rectangle, colours::scrollBars, colours::black, 5};
inline constexpr ShapeLayout shpyou{
    5760, 240, 375, 375, ShapeKind::Circle, colours::green, colours::windowText, 1};
inline constexpr ShapeLayout shpgoal{6600,          240,           375, 375, ShapeKind::Circle,
                                     colours::pink, colours::pink, 1};
inline constexpr ShapeLayout shpball1{2040,           240,          375, 375, ShapeKind::Circle,
                                      colours::black, colours::red, 1};
inline constexpr ShapeLayout shpball2{9480,           240,          375, 375, ShapeKind::Circle,
                                      colours::black, colours::red, 1};
inline constexpr ShapeLayout shpstop1{
    4080, 1920, 495, 495, ShapeKind::Oval, colours::tooltipBackground, colours::windowText, 1};
inline constexpr ShapeLayout shpstop2{
    6720, 1920, 495, 495, ShapeKind::Oval, colours::tooltipBackground, colours::windowText, 1};

// shp1 to shp41, by number less one.
inline constexpr std::array<ShapeLayout, wallCount> walls = {{
    {1920, 4200, 2055, 255, ShapeKind::Rectangle, colours::black, colours::windowText, 1}, // shp1
    {8520, 7200, 1455, 255, ShapeKind::Rectangle, colours::black, colours::windowText, 1}, // shp2
    {3360, 120, 255, 615, ShapeKind::Rectangle, colours::black, colours::windowText, 1},   // shp3
    {4800, 720, 3495, 255, ShapeKind::Rectangle, colours::black, colours::windowText, 1},  // shp4
    {6240, 120, 255, 855, ShapeKind::Rectangle, colours::black, colours::windowText, 1},   // shp5
    {2520, 720, 1455, 255, ShapeKind::Rectangle, colours::black, colours::windowText, 1},  // shp6
    {2520, 720, 255, 855, ShapeKind::Rectangle, colours::black, colours::windowText, 1},   // shp7
    {3600, 1560, 1215, 255, ShapeKind::Rectangle, colours::black, colours::windowText, 1}, // shp8
    {3600, 1560, 255, 615, ShapeKind::Rectangle, colours::black, colours::windowText, 1},  // shp9
    {4800, 720, 255, 4695, ShapeKind::Rectangle, colours::black, colours::windowText, 1},  // shp10
    {2520, 2760, 2295, 255, ShapeKind::Rectangle, colours::black, colours::windowText, 1}, // shp11
    {2520, 2280, 255, 1095, ShapeKind::Rectangle, colours::black, colours::windowText, 1}, // shp12
    {2760, 4440, 255, 375, ShapeKind::Rectangle, colours::black, colours::windowText, 1},  // shp13
    {3720, 3720, 255, 735, ShapeKind::Rectangle, colours::black, colours::windowText, 1},  // shp14
    {2640, 5520, 1335, 255, ShapeKind::Rectangle, colours::black, colours::menuText, 1},   // shp15
    {1920, 6360, 735, 255, ShapeKind::Rectangle, colours::black, colours::windowText, 1},  // shp16
    {2880, 7200, 2175, 255, ShapeKind::Rectangle, colours::black, colours::windowText, 1}, // shp17
    {3720, 6240, 2055, 255, ShapeKind::Rectangle, colours::black, colours::windowText, 1}, // shp18
    {5640, 6720, 2055, 255, ShapeKind::Rectangle, colours::black, colours::windowText, 1}, // shp19
    {7440, 6360, 1935, 255, ShapeKind::Rectangle, colours::black, colours::windowText, 1}, // shp20
    {6600, 4920, 1935, 255, ShapeKind::Rectangle, colours::black, colours::windowText, 1}, // shp21
    {4800, 4680, 2055, 255, ShapeKind::Rectangle, colours::black, colours::windowText, 1}, // shp22
    {7320, 3360, 2055, 255, ShapeKind::Rectangle, colours::black, colours::windowText, 1}, // shp23
    {5520, 2520, 2895, 255, ShapeKind::Rectangle, colours::black, colours::windowText, 1}, // shp24
    {8160, 1680, 1215, 255, ShapeKind::Rectangle, colours::black, colours::windowText, 1}, // shp25
    {3720, 5160, 255, 1575, ShapeKind::Rectangle, colours::black, colours::windowText, 1}, // shp26
    {3480, 6480, 255, 975, ShapeKind::Rectangle, colours::black, colours::windowText, 1},  // shp27
    {5640, 5760, 255, 1215, ShapeKind::Rectangle, colours::black, colours::windowText, 1}, // shp28
    {5640, 7560, 255, 495, ShapeKind::Rectangle, colours::black, colours::windowText, 1},  // shp29
    {6600, 6960, 255, 495, ShapeKind::Rectangle, colours::black, colours::windowText, 1},  // shp30
    {7560, 7560, 255, 495, ShapeKind::Rectangle, colours::black, colours::windowText, 1},  // shp31
    {7440, 5760, 255, 1215, ShapeKind::Rectangle, colours::black, colours::windowText, 1}, // shp32
    {9120, 3360, 255, 3255, ShapeKind::Rectangle, colours::black, colours::windowText, 1}, // shp33
    {8280, 4320, 255, 1455, ShapeKind::Rectangle, colours::black, colours::windowText, 1}, // shp34
    {6600, 4680, 255, 1215, ShapeKind::Rectangle, colours::black, colours::windowText, 1}, // shp35
    {6480, 3480, 255, 1215, ShapeKind::Rectangle, colours::black, colours::windowText, 1}, // shp36
    {5520, 2520, 255, 1455, ShapeKind::Rectangle, colours::black, colours::windowText, 1}, // shp37
    {5400, 960, 255, 735, ShapeKind::Rectangle, colours::black, colours::windowText, 1},   // shp38
    {6360, 1680, 255, 855, ShapeKind::Rectangle, colours::black, colours::windowText, 1},  // shp39
    {7320, 960, 255, 3375, ShapeKind::Rectangle, colours::black, colours::windowText, 1},  // shp40
    {9120, 120, 255, 2655, ShapeKind::Rectangle, colours::black, colours::windowText, 1},  // shp41
}};

struct Rect
{
    int left;
    int top;
    int width;
    int height;
};

struct ControlLayout
{
    Rect rect;
    int tabIndex;
};

inline constexpr ControlLayout cmdstart{{4680, 2880, 2535, 1095}, 6};
inline constexpr ControlLayout txtcheat{{7800, 8160, 1815, 375}, 7};
inline constexpr ControlLayout fraborder{{240, 4800, 1455, 2895}, 0};
inline constexpr ControlLayout lblabout{{0, 360, 1815, 3975}, 1};
// The option buttons lie inside the frame; their positions are relative to it.
inline constexpr ControlLayout optred{{120, 600, 975, 375}, 5};
inline constexpr ControlLayout optgreen{{120, 1080, 975, 375}, 2};
inline constexpr ControlLayout optblue{{120, 1560, 1095, 375}, 3};
inline constexpr ControlLayout optyellow{{120, 2040, 1095, 375}, 4};

inline constexpr Colour cheatBackColor = colours::cheatBoxRed;
inline constexpr Colour cheatForeColor = colours::windowText;
inline constexpr Colour controlBackColor = colours::darkRed;
inline constexpr Colour controlForeColor = colours::buttonText;
inline constexpr std::string_view frameCaption = "Border Colour";
inline constexpr int timerInterval = 1; // milliseconds

// The label's font: a face the desktop may not have, so the window picks a substitute.
inline constexpr std::string_view labelFontFace = "MS Sans Serif";
inline constexpr int labelFontPoints = 12;

// Bottom first; the controls are always drawn above all of these.
inline constexpr std::array<Element, 49> drawingOrder = {
    Element::shpborder, Element::shp5,     Element::shpstop2, Element::shpstop1, Element::shp4,
    Element::shp10,     Element::shp11,    Element::shp6,     Element::shp8,     Element::shp7,
    Element::shp3,      Element::shp9,     Element::shp12,    Element::shp1,     Element::shp26,
    Element::shp15,     Element::shp13,    Element::shp14,    Element::shp18,    Element::shp28,
    Element::shp16,     Element::shp27,    Element::shp22,    Element::shp29,    Element::shp17,
    Element::shp19,     Element::shp30,    Element::shp31,    Element::shp2,     Element::shp35,
    Element::shp32,     Element::shp20,    Element::shp21,    Element::shp34,    Element::shp33,
    Element::shp23,     Element::shp40,    Element::shp41,    Element::shp36,    Element::shp24,
    Element::shp37,     Element::shp25,    Element::shp38,    Element::shp39,    Element::shpball2,
    Element::shpball1,  Element::lblabout, Element::shpgoal,  Element::shpyou,
};

// What a racing ghost's piece lies on: the board's border and its walls. Everything else of the
// drawing order lies on the ghost.
constexpr bool underGhost(Element e)
{
    return e == Element::shpborder || isWall(e);
}

// The creation values of a shape or a control, by element.
constexpr const ShapeLayout &shapeLayout(Element e)
{
    if (isWall(e))
        return walls[slotOf(e)];
    switch (e) {
    case Element::shpborder:
        return shpborder;
    case Element::shpyou:
        return shpyou;
    case Element::shpgoal:
        return shpgoal;
    case Element::shpball1:
        return shpball1;
    case Element::shpball2:
        return shpball2;
    case Element::shpstop1:
        return shpstop1;
    case Element::shpstop2:
        return shpstop2;
    default:
        elementNotHeld("the shape layout", e);
    }
}

constexpr const ControlLayout &controlLayout(Element e)
{
    switch (e) {
    case Element::cmdstart:
        return cmdstart;
    case Element::txtcheat:
        return txtcheat;
    case Element::fraborder:
        return fraborder;
    case Element::optred:
        return optred;
    case Element::optgreen:
        return optgreen;
    case Element::optblue:
        return optblue;
    case Element::optyellow:
        return optyellow;
    default:
        elementNotHeld("the control layout", e);
    }
}

} // namespace quorvale::layout
