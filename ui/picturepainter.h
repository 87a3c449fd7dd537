#pragma once

#include "pictures.h"

#include <QRectF>

class QPainter;

namespace quorvale::ui {

// Paints one of the pictures the window and the page share (pictures.h) into `target`, its square
// scaled to the target's size, with antialiasing.
void paintPicture(QPainter &painter, const pictures::Picture &picture, const QRectF &target);

} // namespace quorvale::ui
