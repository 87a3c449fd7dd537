#pragma once

#include <QPainter>
#include <QRect>
#include <QTransform>

#include <algorithm>

namespace quorvale::ui {

// Paints a widget's edges in the device's own whole pixels, for the life of the object. Qt covers
// a widget's rectangle scaled to device pixels with each edge rounded, and at a fractional scale
// a widget may start between two device pixels; lines placed in logical pixels then fall between
// device pixels, or leave a hairline of what lies under them at the widget's edge. Here the
// painter's unit is one device pixel, with (0, 0) at the first one the rectangle covers.
class DevicePixels
{
public:
    DevicePixels(QPainter &painter, const QRect &logical, qreal devicePixelRatio)
        : m_painter(painter), m_dpr(devicePixelRatio)
    {
        const QTransform toDevice = painter.deviceTransform();
        const QRectF exact = toDevice.mapRect(QRectF(logical));
        const QPoint topLeft(qRound(exact.left()), qRound(exact.top()));
        m_rect =
            QRect(0, 0, qRound(exact.right()) - topLeft.x(), qRound(exact.bottom()) - topLeft.y());
        painter.save();
        painter.setWorldTransform(toDevice.inverted());
        painter.translate(topLeft);
    }
    ~DevicePixels() { m_painter.restore(); }
    DevicePixels(const DevicePixels &) = delete;
    DevicePixels &operator=(const DevicePixels &) = delete;

    // The rectangle's device pixels, from (0, 0).
    QRect rect() const { return m_rect; }
    // A logical length in whole device pixels, never less than one.
    int pixels(qreal logical) const { return std::max(1, qRound(logical * m_dpr)); }

private:
    QPainter &m_painter;
    qreal m_dpr;
    QRect m_rect;
};

} // namespace quorvale::ui
