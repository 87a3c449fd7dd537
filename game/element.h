#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quorvale {

// Every element of the window, by the name the game knows it under.
enum class Element : std::uint8_t {
    frmmaze,
    shpborder,
    shp1,
    shp2,
    shp3,
    shp4,
    shp5,
    shp6,
    shp7,
    shp8,
    shp9,
    shp10,
    shp11,
    shp12,
    shp13,
    shp14,
    shp15,
    shp16,
    shp17,
    shp18,
    shp19,
    shp20,
    shp21,
    shp22,
    shp23,
    shp24,
    shp25,
    shp26,
    shp27,
    shp28,
    shp29,
    shp30,
    shp31,
    shp32,
    shp33,
    shp34,
    shp35,
    shp36,
    shp37,
    shp38,
    shp39,
    shp40,
    shp41,
    shpyou,
    shpgoal,
    shpball1,
    shpball2,
    shpstop1,
    shpstop2,
    cmdstart,
    txtcheat,
    fraborder,
    optred,
    optgreen,
    optblue,
    optyellow,
    lblabout,
    Timer1,
    Timer2,
};

inline constexpr std::size_t elementCount = static_cast<std::size_t>(Element::Timer2) + 1;
inline constexpr int wallCount = 41;

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

// shp1 .. shp41 by number.
constexpr Element wall(int number)
{
    return static_cast<Element>(index(Element::shp1) + static_cast<std::size_t>(number - 1));
}

constexpr bool isWall(Element e)
{
    return index(e) >= index(Element::shp1) && index(e) <= index(Element::shp41);
}

constexpr bool isShape(Element e)
{
    return index(e) >= index(Element::shpborder) && index(e) <= index(Element::shpstop2);
}

inline constexpr std::array<std::string_view, elementCount> elementNames = {
    "frmmaze",  "shpborder", "shp1",      "shp2",     "shp3",     "shp4",     "shp5",
    "shp6",     "shp7",      "shp8",      "shp9",     "shp10",    "shp11",    "shp12",
    "shp13",    "shp14",     "shp15",     "shp16",    "shp17",    "shp18",    "shp19",
    "shp20",    "shp21",     "shp22",     "shp23",    "shp24",    "shp25",    "shp26",
    "shp27",    "shp28",     "shp29",     "shp30",    "shp31",    "shp32",    "shp33",
    "shp34",    "shp35",     "shp36",     "shp37",    "shp38",    "shp39",    "shp40",
    "shp41",    "shpyou",    "shpgoal",   "shpball1", "shpball2", "shpstop1", "shpstop2",
    "cmdstart", "txtcheat",  "fraborder", "optred",   "optgreen", "optblue",  "optyellow",
    "lblabout", "Timer1",    "Timer2",
};

constexpr std::string_view name(Element e)
{
    return elementNames[index(e)];
}

constexpr std::optional<Element> elementNamed(std::string_view n)
{
    for (std::size_t i = 0; i < elementNames.size(); ++i) {
        if (elementNames[i] == n)
            return static_cast<Element>(i);
    }
    return std::nullopt;
}

} // namespace quorvale
