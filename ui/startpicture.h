#pragma once

#include "pictures.h"

#include <QImage>

namespace quorvale::ui {

inline constexpr int startPictureSize = static_cast<int>(pictures::start.side);

// The start button's picture (pictures.h), drawn afresh at start-up. On a scaled screen it is
// drawn with as many device pixels as the screen has, so it stays sharp.
QImage drawStartPicture(qreal devicePixelRatio = 1.0);

} // namespace quorvale::ui
