#pragma once

#include "elementclasses.h"
#include "layout.h"

#include <QRect>
#include <QRectF>

namespace quorvale::ui {

// Logical pixels from twips: the layout was made at 96 dots per inch, 15 twips to a pixel, and
// Qt's own scaling takes it from there on larger screens.
constexpr double toPixels(double twips)
{
    return twips / layout::twipsPerPixel;
}

inline QRect toPixels(const layout::Rect &l)
{
    return {l.left / layout::twipsPerPixel, l.top / layout::twipsPerPixel,
            l.width / layout::twipsPerPixel, l.height / layout::twipsPerPixel};
}

// The element's rectangle in logical pixels, not yet snapped.
inline QRectF elementRect(const ShapeElement &s)
{
    return {toPixels(s.left()), toPixels(s.top()), toPixels(s.width()), toPixels(s.height())};
}

// The figure's rectangle: square kinds take the smaller side, centred.
QRectF figureRect(const QRectF &elementRect, ShapeKind kind);

// Puts the rectangle's edges on whole device pixels, so fills and borders come out crisp.
QRectF snapToDevicePixels(const QRectF &r, qreal devicePixelRatio);

// The whole logical pixels a painted figure may touch.
QRect coveringRect(const QRectF &r);

} // namespace quorvale::ui
