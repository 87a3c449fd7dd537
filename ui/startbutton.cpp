#include "startbutton.h"

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

    // A classic raised (or, while pressed, sunken) bevel, drawn over the picture's edges.
    const QColor light(0xFF, 0xFF, 0xFF);
    const QColor shadow(0x80, 0x80, 0x80);
    const QColor dark(0x00, 0x00, 0x00);
    const QRect r = face.adjusted(0, 0, -1, -1);
    p.setPen(down ? dark : light);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(down ? light : dark);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    p.setPen(down ? light : shadow);
    p.drawLine(r.bottomLeft() + QPoint(1, -1), r.bottomRight() + QPoint(-1, -1));
    p.drawLine(r.topRight() + QPoint(-1, 1), r.bottomRight() + QPoint(-1, -1));

    if (hasFocus()) {
        p.setPen(QPen(Qt::black, 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(face.adjusted(bevel + 2, bevel + 2, -bevel - 3, -bevel - 3));
    }
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
