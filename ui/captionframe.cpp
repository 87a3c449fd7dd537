#include "captionframe.h"

#include "devicepixels.h"

#include <QPainter>

#include <algorithm>

namespace quorvale::ui {

CaptionFrame::CaptionFrame(const QString &caption, QWidget *parent) : QGroupBox(caption, parent)
{
    setFlat(false);
}

void CaptionFrame::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QColor ground = palette().color(QPalette::Window);
    p.fillRect(rect(), ground);

    // The caption's place, in logical pixels: a little in from the left, as far as it fits.
    const QFontMetrics metrics(font());
    const QString caption = title();
    const int textWidth = metrics.horizontalAdvance(caption);
    const int indent = std::clamp((width() - textWidth) / 2, 2, 8);
    const QRect text(indent, 0, textWidth, metrics.height());

    {
        // The outline, etched: a shadow line with a light one inside it, each a logical pixel
        // wide, in whole device pixels; its top edge runs through the middle of the caption.
        const DevicePixels device(p, rect(), devicePixelRatioF());
        const int t = device.pixels(1);
        const int w = device.rect().width();
        const int h = device.rect().height();
        const int top = device.pixels(metrics.height() / 2.0);
        const QColor shadow(0x80, 0x80, 0x80);
        const QColor light(0xFF, 0xFF, 0xFF);
        for (const auto &[offset, colour] : {std::pair{0, shadow}, std::pair{t, light}}) {
            const QRect r(offset, top + offset, w - t, h - top - t);
            p.fillRect(r.left(), r.top(), r.width(), t, colour);
            p.fillRect(r.left(), r.top(), t, r.height(), colour);
            p.fillRect(r.left(), r.bottom() - t + 1, r.width(), t, colour);
            p.fillRect(r.right() - t + 1, r.top(), t, r.height(), colour);
        }
        // The line breaks off behind the caption, with a little room either side.
        const int gapLeft = device.pixels(text.left() - 2);
        const int gapRight = device.pixels(text.left() + text.width() + 2);
        p.fillRect(gapLeft, top, gapRight - gapLeft, 2 * t, ground);
    }

    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, caption);
}

} // namespace quorvale::ui
