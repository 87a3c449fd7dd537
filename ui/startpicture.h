#pragma once

#include <QImage>

namespace quorvale::ui {

inline constexpr int startPictureSize = 229;

// The start button's picture: the word Start in grey letters outlined in gold on white, across
// the middle of a 229 by 229 image, drawn afresh at start-up. On a scaled screen it is drawn
// with as many device pixels as the screen has, so it stays sharp.
QImage drawStartPicture(qreal devicePixelRatio = 1.0);

} // namespace quorvale::ui
