#pragma once

// The window as the game creates it, typed from the game's own definition apart from
// game/layout.h, which the rules read: a wrong value there fails the tests that hold the created
// game and the page's description against this.

#include "elementid.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quorvale::testing::created {

inline constexpr std::uint32_t black = 0x00000000;
inline constexpr std::uint32_t darkRed = 0x00000080;
inline constexpr std::uint32_t scrollBars = 0x80000000;
inline constexpr std::uint32_t menuText = 0x80000007;
inline constexpr std::uint32_t windowText = 0x80000008;
inline constexpr std::uint32_t buttonText = 0x80000012;
inline constexpr std::uint32_t tooltipBackground = 0x80000018;

inline constexpr int rectangle = 0;
inline constexpr int oval = 2;
inline constexpr int circle = 3;

inline constexpr std::string_view caption = "Maze";
inline constexpr std::uint32_t formBackColor = darkRed;
inline constexpr int clientWidth = 10050;
inline constexpr int clientHeight = 8685;
inline constexpr int twipsPerPixel = 15;
inline constexpr int labelFontPoints = 12;

struct Shape
{
    Element id;
    int left;
    int top;
    int width;
    int height;
    int shape;
    std::uint32_t fillColor;
    std::uint32_t borderColor;
    int borderWidth; // pixels
};

inline constexpr std::array<Shape, 48> shapes = {{
    {Element::shpborder, 1920, 120, 8055, 7935, rectangle, scrollBars, black, 5},
    {Element::shpyou, 5760, 240, 375, 375, circle, 0x0000FF00, windowText, 1},
    {Element::shpgoal, 6600, 240, 375, 375, circle, 0x00FF00FF, 0x00FF00FF, 1},
    {Element::shpball1, 2040, 240, 375, 375, circle, black, 0x000000FF, 1},
    {Element::shpball2, 9480, 240, 375, 375, circle, black, 0x000000FF, 1},
    {Element::shpstop1, 4080, 1920, 495, 495, oval, tooltipBackground, windowText, 1},
    {Element::shpstop2, 6720, 1920, 495, 495, oval, tooltipBackground, windowText, 1},
    {Element::shp1, 1920, 4200, 2055, 255, rectangle, black, windowText, 1},
    {Element::shp2, 8520, 7200, 1455, 255, rectangle, black, windowText, 1},
    {Element::shp3, 3360, 120, 255, 615, rectangle, black, windowText, 1},
    {Element::shp4, 4800, 720, 3495, 255, rectangle, black, windowText, 1},
    {Element::shp5, 6240, 120, 255, 855, rectangle, black, windowText, 1},
    {Element::shp6, 2520, 720, 1455, 255, rectangle, black, windowText, 1},
    {Element::shp7, 2520, 720, 255, 855, rectangle, black, windowText, 1},
    {Element::shp8, 3600, 1560, 1215, 255, rectangle, black, windowText, 1},
    {Element::shp9, 3600, 1560, 255, 615, rectangle, black, windowText, 1},
    {Element::shp10, 4800, 720, 255, 4695, rectangle, black, windowText, 1},
    {Element::shp11, 2520, 2760, 2295, 255, rectangle, black, windowText, 1},
    {Element::shp12, 2520, 2280, 255, 1095, rectangle, black, windowText, 1},
    {Element::shp13, 2760, 4440, 255, 375, rectangle, black, windowText, 1},
    {Element::shp14, 3720, 3720, 255, 735, rectangle, black, windowText, 1},
    {Element::shp15, 2640, 5520, 1335, 255, rectangle, black, menuText, 1},
    {Element::shp16, 1920, 6360, 735, 255, rectangle, black, windowText, 1},
    {Element::shp17, 2880, 7200, 2175, 255, rectangle, black, windowText, 1},
    {Element::shp18, 3720, 6240, 2055, 255, rectangle, black, windowText, 1},
    {Element::shp19, 5640, 6720, 2055, 255, rectangle, black, windowText, 1},
    {Element::shp20, 7440, 6360, 1935, 255, rectangle, black, windowText, 1},
    {Element::shp21, 6600, 4920, 1935, 255, rectangle, black, windowText, 1},
    {Element::shp22, 4800, 4680, 2055, 255, rectangle, black, windowText, 1},
    {Element::shp23, 7320, 3360, 2055, 255, rectangle, black, windowText, 1},
    {Element::shp24, 5520, 2520, 2895, 255, rectangle, black, windowText, 1},
    {Element::shp25, 8160, 1680, 1215, 255, rectangle, black, windowText, 1},
    {Element::shp26, 3720, 5160, 255, 1575, rectangle, black, windowText, 1},
    {Element::shp27, 3480, 6480, 255, 975, rectangle, black, windowText, 1},
    {Element::shp28, 5640, 5760, 255, 1215, rectangle, black, windowText, 1},
    {Element::shp29, 5640, 7560, 255, 495, rectangle, black, windowText, 1},
    {Element::shp30, 6600, 6960, 255, 495, rectangle, black, windowText, 1},
    {Element::shp31, 7560, 7560, 255, 495, rectangle, black, windowText, 1},
    {Element::shp32, 7440, 5760, 255, 1215, rectangle, black, windowText, 1},
    {Element::shp33, 9120, 3360, 255, 3255, rectangle, black, windowText, 1},
    {Element::shp34, 8280, 4320, 255, 1455, rectangle, black, windowText, 1},
    {Element::shp35, 6600, 4680, 255, 1215, rectangle, black, windowText, 1},
    {Element::shp36, 6480, 3480, 255, 1215, rectangle, black, windowText, 1},
    {Element::shp37, 5520, 2520, 255, 1455, rectangle, black, windowText, 1},
    {Element::shp38, 5400, 960, 255, 735, rectangle, black, windowText, 1},
    {Element::shp39, 6360, 1680, 255, 855, rectangle, black, windowText, 1},
    {Element::shp40, 7320, 960, 255, 3375, rectangle, black, windowText, 1},
    {Element::shp41, 9120, 120, 255, 2655, rectangle, black, windowText, 1},
}};

struct Control
{
    Element id;
    std::string_view kind; // as the page names it
    int left;              // an option button's inside its frame
    int top;
    int width;
    int height;
    int tabIndex;
    std::string_view caption;
    std::optional<std::uint32_t> backColor; // where the game gives one
    std::optional<std::uint32_t> foreColor;
};

// The label last: it takes no events and has no visible or enabled state of the rules'.
inline constexpr std::array<Control, 8> controls = {{
    {Element::cmdstart, "CommandButton", 4680, 2880, 2535, 1095, 6, "", {}, {}},
    {Element::txtcheat, "TextBox", 7800, 8160, 1815, 375, 7, "", 0x000000C0, windowText},
    {Element::fraborder, "Frame", 240, 4800, 1455, 2895, 0, "Border Colour", darkRed, buttonText},
    {Element::optred, "OptionButton", 120, 600, 975, 375, 5, "Red", darkRed, buttonText},
    {Element::optgreen, "OptionButton", 120, 1080, 975, 375, 2, "Green", darkRed, buttonText},
    {Element::optblue, "OptionButton", 120, 1560, 1095, 375, 3, "Blue", darkRed, buttonText},
    {Element::optyellow, "OptionButton", 120, 2040, 1095, 375, 4, "Yellow", darkRed, buttonText},
    {Element::lblabout, "Label", 0, 360, 1815, 3975, 1, "", darkRed, buttonText},
}};

inline constexpr std::array timerNames = {std::string_view("Timer1"), std::string_view("Timer2")};
inline constexpr int timerInterval = 1; // milliseconds

// The menu bar in display order: each menu with the menu it opens from (empty: the bar).
struct Menu
{
    std::string_view name;
    std::string_view parent;
    std::string_view caption;
};

inline constexpr std::array<Menu, 6> menus = {{
    {"mnufile", "", "File"},
    {"mnuedit", "", "Edit"},
    {"mnuhelp", "", "Help"},
    {"mnueditshape", "mnuedit", "Your Shape"},
    {"mnueditball", "mnuedit", "Ball Colour"},
    {"mnueditback", "mnuedit", "BackGround"},
}};

// The items that run procedures, each in its menu, in display order.
struct MenuItem
{
    std::string_view name;
    std::string_view menu;
    std::string_view caption;
};

inline constexpr std::array<MenuItem, 11> menuItems = {{
    {"mnufilestart", "mnufile", "Start Over"},
    {"mnufilequit", "mnufile", "Quit"},
    {"mnueditshapesquare", "mnueditshape", "Square"},
    {"mnueditshapecircle", "mnueditshape", "Circle"},
    {"mnueditshapers", "mnueditshape", "rounded Square"},
    {"mnueditballred", "mnueditball", "Red"},
    {"mnueditballblue", "mnueditball", "Blue"},
    {"mnueditballgreen", "mnueditball", "Green"},
    {"mnueditbackyellow", "mnueditback", "Yellow"},
    {"mnueditbackorange", "mnueditback", "orange"},
    {"mnuhelpabout", "mnuhelp", "About"},
}};

} // namespace quorvale::testing::created
