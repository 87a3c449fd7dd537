#include "geometry.h"

#include <algorithm>
#include <cmath>

namespace quorvale::ui {

QRectF figureRect(const QRectF &elementRect, ShapeKind kind)
{
    switch (kind) {
    case ShapeKind::Square:
    case ShapeKind::Circle:
    case ShapeKind::RoundedSquare: {
        const qreal side = std::min(elementRect.width(), elementRect.height());
        QRectF square(0, 0, side, side);
        square.moveCenter(elementRect.center());
        return square;
    }
    case ShapeKind::Rectangle:
    case ShapeKind::Oval:
    case ShapeKind::RoundedRectangle:
        break;
    }
    return elementRect;
}

QRectF snapToDevicePixels(const QRectF &r, qreal devicePixelRatio)
{
    const auto snap = [devicePixelRatio](qreal v) {
        return std::round(v * devicePixelRatio) / devicePixelRatio;
    };
    const qreal left = snap(r.left());
    const qreal top = snap(r.top());
    return {left, top, snap(r.right()) - left, snap(r.bottom()) - top};
}

QRect coveringRect(const QRectF &r)
{
    const int left = static_cast<int>(std::floor(r.left()));
    const int top = static_cast<int>(std::floor(r.top()));
    const int right = static_cast<int>(std::ceil(r.right()));
    const int bottom = static_cast<int>(std::ceil(r.bottom()));
    // One pixel more all round for the snapping and the smoothing of round edges.
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1)).adjusted(-1, -1, 1, 1);
}

} // namespace quorvale::ui
