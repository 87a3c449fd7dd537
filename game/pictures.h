#pragma once

#include "platform.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// The pictures the window and the page both show: the start button's picture and the message
// boxes' signs. Each is written here once, as figures and colours, and each front end paints the
// figures in order, the first at the bottom, scaled from the picture's own square to the size it
// shows it at. A colour changed here changes in both.
namespace quorvale::pictures {

using Rgb = std::uint32_t; // 0xRRGGBB

struct Point
{
    double x;
    double y;
};

enum class FigureKind : std::uint8_t {
    Polygon, // closed, through every point in order
    Line,    // from the first point to the second
    Ellipse, // centred on the first point, the second its two radii
    Text,    // the picture's lettering, the middle of its ink on the first point
};

// A colour where the figure's area starts to be graded (0 at `top`, 1 at `bottom`).
struct ColourStop
{
    double at;
    Rgb colour;
};

// No stops: not filled; one: a plain colour; more: graded from top to bottom.
struct Fill
{
    std::span<const ColourStop> stops;
    double top = 0;
    double bottom = 0;
};

// A width of 0 draws no outline. Round joins and caps, or mitred joins and flat ends.
struct Stroke
{
    Rgb colour = 0;
    double width = 0;
    bool round = false;
};

// Filled first, then outlined.
struct Figure
{
    FigureKind kind;
    std::span<const Point> points;
    Fill fill;
    Stroke stroke;
};

// The word a picture shows, and its face: the first of `faces` the front end has, else any
// serif face.
struct Lettering
{
    std::string_view text;
    std::span<const std::string_view> faces;
    bool bold = false;
    bool italic = false;
    double pixels = 0;
};

struct Picture
{
    double side;               // of the square the figures are placed in
    std::optional<Rgb> ground; // the whole square's colour under the figures; none: transparent
    Lettering lettering;
    std::span<const Figure> figures;
};

namespace detail {

inline constexpr Rgb black = 0x000000;
inline constexpr Rgb white = 0xFFFFFF;
inline constexpr std::array plainBlack = {ColourStop{0, black}};
inline constexpr std::array plainWhite = {ColourStop{0, white}};

// The start button's picture: 229 pixels square, of which the button's face shows the middle
// band, 169 by 73 pixels; the word lies well inside it, between two thin gold rules with a
// diamond at each end.
inline constexpr double startSide = 229;
inline constexpr double mid = startSide / 2;
inline constexpr Rgb gold = 0xD4A017;
inline constexpr Rgb darkGold = 0x8C640A;
inline constexpr std::array plainGold = {ColourStop{0, gold}};
inline constexpr std::array greyLetters = {ColourStop{0, 0xB4B4B4}, ColourStop{0.5, 0x8C8C8C},
                                           ColourStop{1, 0x5A5A5A}};
inline constexpr std::array startFaces = {std::string_view("DejaVu Serif"),
                                          std::string_view("Georgia")};

inline constexpr std::array upperRule = {Point{mid - 66, mid - 30}, Point{mid + 66, mid - 30}};
inline constexpr std::array lowerRule = {Point{mid - 66, mid + 30}, Point{mid + 66, mid + 30}};

constexpr std::array<Point, 4> diamond(double x, double y)
{
    return {{{x - 3, y}, {x, y - 3}, {x + 3, y}, {x, y + 3}}};
}
inline constexpr auto upperLeft = diamond(mid - 69, mid - 30);
inline constexpr auto upperRight = diamond(mid + 69, mid - 30);
inline constexpr auto lowerLeft = diamond(mid - 69, mid + 30);
inline constexpr auto lowerRight = diamond(mid + 69, mid + 30);
inline constexpr std::array middle = {Point{mid, mid}};

inline constexpr Stroke ruleLine{gold, 1.5, false};
inline constexpr std::array startFigures = {
    Figure{FigureKind::Line, upperRule, {}, ruleLine},
    Figure{FigureKind::Polygon, upperLeft, {plainGold}, {}},
    Figure{FigureKind::Polygon, upperRight, {plainGold}, {}},
    Figure{FigureKind::Line, lowerRule, {}, ruleLine},
    Figure{FigureKind::Polygon, lowerLeft, {plainGold}, {}},
    Figure{FigureKind::Polygon, lowerRight, {plainGold}, {}},
    // A dark rim under the gold outline.
    Figure{FigureKind::Text, middle, {}, {darkGold, 4, true}},
    Figure{FigureKind::Text, middle, {greyLetters, mid - 26, mid + 26}, {gold, 2, true}},
};

// The signs are drawn on a 32-unit square. The exclamation mark: a yellow warning triangle with
// rounded corners and a black mark.
inline constexpr std::array warningTriangle = {Point{16, 2.5}, Point{30, 28.5}, Point{2, 28.5}};
inline constexpr std::array warningYellow = {ColourStop{0, 0xFFD400}};
inline constexpr std::array markStroke = {Point{14.2, 10}, Point{17.8, 10}, Point{16.9, 20.5},
                                          Point{15.1, 20.5}};
inline constexpr std::array markDot = {Point{16, 24.2}, Point{1.9, 1.9}};
inline constexpr std::array exclamationFigures = {
    Figure{FigureKind::Polygon, warningTriangle, {warningYellow}, {0x403000, 2, true}},
    Figure{FigureKind::Polygon, markStroke, {plainBlack}, {}},
    Figure{FigureKind::Ellipse, markDot, {plainBlack}, {}},
};

// The information sign: a blue disc with a white "i", a dot over a stem with a small foot.
inline constexpr std::array disc = {Point{16, 16}, Point{14, 14}};
inline constexpr std::array discBlue = {ColourStop{0, 0x216CD8}};
inline constexpr std::array iDot = {Point{16, 9}, Point{2.2, 2.2}};
inline constexpr std::array iStem = {
    Point{13, 13},     Point{17.8, 13},   Point{17.8, 22.5}, Point{19.5, 22.5}, Point{19.5, 24.5},
    Point{12.5, 24.5}, Point{12.5, 22.5}, Point{14.2, 22.5}, Point{14.2, 15},   Point{13, 15}};
inline constexpr std::array informationFigures = {
    Figure{FigureKind::Ellipse, disc, {discBlue}, {0x103880, 1.5, false}},
    Figure{FigureKind::Ellipse, iDot, {plainWhite}, {}},
    Figure{FigureKind::Polygon, iStem, {plainWhite}, {}},
};

} // namespace detail

inline constexpr Picture start{detail::startSide,
                               detail::white,
                               {"Start", detail::startFaces, true, true, 52},
                               detail::startFigures};
inline constexpr Picture exclamation{32, std::nullopt, {}, detail::exclamationFigures};
inline constexpr Picture information{32, std::nullopt, {}, detail::informationFigures};

// The bits of a message box's style that choose its sign.
inline constexpr int boxIconBits = 0x70;

struct BoxIcon
{
    int style; // its bits of a box's style
    const Picture &picture;
};

// The signs of the boxes the game shows; a box of any other style has none.
inline constexpr std::array boxIcons = {BoxIcon{vbExclamation, exclamation},
                                        BoxIcon{vbInformation, information}};

// The sign a box of this style shows, if any.
constexpr const Picture *boxIcon(int style)
{
    for (const BoxIcon &icon : boxIcons) {
        if (icon.style == (style & boxIconBits))
            return &icon.picture;
    }
    return nullptr;
}

} // namespace quorvale::pictures
