#pragma once

#include "colour.h"

#include <QColor>

#include <array>

namespace quorvale::ui {

// What the system colours the layout names (0x800000nn) look like: a light scheme fixed here, so
// the board looks the same on every desktop and stays playable under a dark theme. Entries the
// game never names are grey rather than guessed.
inline constexpr std::array<QRgb, 31> systemColourTable = {
    0xFFC8C8C8, // 0 scroll bars
    0xFF3A6EA5, // 1 desktop
    0xFF000080, // 2 active caption
    0xFF808080, // 3 inactive caption
    0xFFC0C0C0, // 4 menu
    0xFFFFFFFF, // 5 window
    0xFF000000, // 6 window frame
    0xFF000000, // 7 menu text
    0xFF000000, // 8 window text
    0xFFFFFFFF, // 9 caption text
    0xFFC0C0C0, // 10 active border
    0xFFC0C0C0, // 11 inactive border
    0xFF808080, // 12 application workspace
    0xFF000080, // 13 highlight
    0xFFFFFFFF, // 14 highlight text
    0xFFC0C0C0, // 15 button face
    0xFF808080, // 16 button shadow
    0xFF808080, // 17 grey text
    0xFF000000, // 18 button text
    0xFFC0C0C0, // 19 inactive caption text
    0xFFFFFFFF, // 20 button highlight
    0xFF000000, // 21 3D dark shadow
    0xFFDFDFDF, // 22 3D light
    0xFF000000, // 23 tooltip text
    0xFFFFFFE1, // 24 tooltip background
    0xFFC0C0C0, // 25 unused
    0xFF0000FF, // 26 hot-tracked item
    0xFF1084D0, // 27 gradient active caption
    0xFFB5B5B5, // 28 gradient inactive caption
    0xFF316AC5, // 29 menu highlight
    0xFFECE9D8, // 30 menu bar
};

// What a stored colour looks like on screen: 0x00BBGGRR as it is, 0x800000nn through the table.
inline QColor toQColor(Colour colour)
{
    if (colour.isSystem()) {
        const auto entry = static_cast<std::size_t>(colour.systemIndex());
        return QColor::fromRgb(entry < systemColourTable.size() ? systemColourTable[entry]
                                                                : 0xFF808080);
    }
    return QColor(colour.red(), colour.green(), colour.blue());
}

} // namespace quorvale::ui
