#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace quorvale {

// A colour as the game stores it: 0x00BBGGRR, or 0x800000nn for entry nn of the desktop's
// system colour scheme, which is only looked up when something is drawn.
class Colour
{
public:
    constexpr Colour() = default;
    constexpr explicit Colour(std::uint32_t value) : m_value(value) {}

    constexpr std::uint32_t value() const { return m_value; }
    constexpr bool isSystem() const { return (m_value & 0xFF000000U) == 0x80000000U; }
    constexpr int systemIndex() const { return static_cast<int>(m_value & 0xFFU); }
    constexpr int red() const { return static_cast<int>(m_value & 0xFFU); }
    constexpr int green() const { return static_cast<int>((m_value >> 8) & 0xFFU); }
    constexpr int blue() const { return static_cast<int>((m_value >> 16) & 0xFFU); }

    friend constexpr bool operator==(Colour, Colour) = default;

private:
    std::uint32_t m_value = 0;
};

namespace colours {
inline constexpr Colour black{0x00000000};
inline constexpr Colour darkRed{0x00000080};
inline constexpr Colour veryDarkRed{0x00000040};
inline constexpr Colour red{0x000000FF};
inline constexpr Colour cheatBoxRed{0x000000C0};
inline constexpr Colour green{0x0000FF00};
inline constexpr Colour blue{0x00FF0000};
inline constexpr Colour yellow{0x0000FFFF};
inline constexpr Colour orange{0x000080FF};
inline constexpr Colour pink{0x00FF00FF};
inline constexpr Colour white{0x00FFFFFF};
inline constexpr Colour scrollBars{0x80000000};
inline constexpr Colour menuText{0x80000007};
inline constexpr Colour windowText{0x80000008};
inline constexpr Colour buttonText{0x80000012};
inline constexpr Colour tooltipBackground{0x80000018};
} // namespace colours

// What the system colours (0x800000nn) look like: a light scheme fixed here, so the board looks
// the same on every desktop and in every edition, and stays playable under a dark theme. Entries
// the game never names are grey rather than guessed. 0xRRGGBB.
inline constexpr std::array<std::uint32_t, 31> systemColourTable = {
    0xC8C8C8, // 0 scroll bars
    0x3A6EA5, // 1 desktop
    0x000080, // 2 active caption
    0x808080, // 3 inactive caption
    0xC0C0C0, // 4 menu
    0xFFFFFF, // 5 window
    0x000000, // 6 window frame
    0x000000, // 7 menu text
    0x000000, // 8 window text
    0xFFFFFF, // 9 caption text
    0xC0C0C0, // 10 active border
    0xC0C0C0, // 11 inactive border
    0x808080, // 12 application workspace
    0x000080, // 13 highlight
    0xFFFFFF, // 14 highlight text
    0xC0C0C0, // 15 button face
    0x808080, // 16 button shadow
    0x808080, // 17 grey text
    0x000000, // 18 button text
    0xC0C0C0, // 19 inactive caption text
    0xFFFFFF, // 20 button highlight
    0x000000, // 21 3D dark shadow
    0xDFDFDF, // 22 3D light
    0x000000, // 23 tooltip text
    0xFFFFE1, // 24 tooltip background
    0xC0C0C0, // 25 unused
    0x0000FF, // 26 hot-tracked item
    0x1084D0, // 27 gradient active caption
    0xB5B5B5, // 28 gradient inactive caption
    0x316AC5, // 29 menu highlight
    0xECE9D8, // 30 menu bar
};

// What a stored colour looks like on screen, as 0xRRGGBB: 0x00BBGGRR as it is, 0x800000nn
// through the table.
constexpr std::uint32_t displayRgb(Colour colour)
{
    if (colour.isSystem()) {
        const auto entry = static_cast<std::size_t>(colour.systemIndex());
        return entry < systemColourTable.size() ? systemColourTable[entry] : 0x808080;
    }
    return (static_cast<std::uint32_t>(colour.red()) << 16) |
           (static_cast<std::uint32_t>(colour.green()) << 8) |
           static_cast<std::uint32_t>(colour.blue());
}

} // namespace quorvale
