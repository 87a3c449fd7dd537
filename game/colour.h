#pragma once

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

} // namespace quorvale
