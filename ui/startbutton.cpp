#include "startbutton.h"

#include "devicepixels.h"
#include "startpicture.h"

#include <QKeyEvent>
#include <QPainter>

#include <cmath>

namespace quorvale::ui {

namespace {
constexpr int bevel = 2;
} // namespace

StartButton::StartButton(QWidget *parent)
    : QPushButton(parent), m_picture(drawStartPicture(devicePixelRatioF()))
{
    setFocusPolicy(Qt::StrongFocus);
}

void StartButton::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull() || m_picture.devicePixelRatio() != devicePixelRatioF())
        m_picture = drawStartPicture(devicePixelRatioF());

    QPainter p(this);
    const QRect face = rect();
    const bool down = isDown();

    const QSizeF picture = m_picture.deviceIndependentSize();
    p.drawImage(QPointF(std::round((face.width() - picture.width()) / 2.0) + (down ? 1 : 0),
                        std::round((face.height() - picture.height()) / 2.0) + (down ? 1 : 0)),
                m_picture);

    paintBevel(p, down);

    if (hasFocus()) {
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(face.adjusted(bevel + 2, bevel + 2, -bevel - 3, -bevel - 3));
    }
}

// A classic raised (or, while pressed, sunken) bevel over the picture's edges, on the outermost
// device pixels the button covers, each line a logical pixel wide: lines drawn in logical pixels
// left a strip of the picture's white ground outside them.
void StartButton::paintBevel(QPainter &p, bool down) const
{
    const DevicePixels device(p, rect(), devicePixelRatioF());
    const int w = device.rect().width();
    const int h = device.rect().height();
    const int t = device.pixels(1);
    const QColor light(0xFF, 0xFF, 0xFF);
    const QColor shadow(0x80, 0x80, 0x80);
    const QColor dark(0x00, 0x00, 0x00);
    const QColor topLeft = down ? dark : light;
    const QColor bottomRight = down ? light : dark;
    const QColor inner = down ? light : shadow;

    p.fillRect(0, 0, w, t, topLeft);
    p.fillRect(0, 0, t, h, topLeft);
    p.fillRect(t, h - 2 * t, w - 2 * t, t, inner);
    p.fillRect(w - 2 * t, t, t, h - 2 * t, inner);
    p.fillRect(0, h - t, w, t, bottomRight);
    p.fillRect(w - t, 0, t, h, bottomRight);
}

// Enter activates the button as Space does, the way a default button behaves on other desktops.
// The arrows, which a button would take to move the focus on, do nothing: a player reaching for
// them before starting would otherwise leave the focus where Enter and Space no longer start.
void StartButton::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        if (!event->isAutoRepeat())
            click();
        return;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        event->accept();
        return;
    default:
        QPushButton::keyPressEvent(event);
        return;
    }
}

} // namespace quorvale::ui
