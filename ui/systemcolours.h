#pragma once

#include "colour.h"

#include <QColor>

namespace quorvale::ui {

// What a stored colour looks like on screen (see displayRgb).
inline QColor toQColor(Colour colour)
{
    return QColor::fromRgb(0xFF000000U | displayRgb(colour));
}

} // namespace quorvale::ui
