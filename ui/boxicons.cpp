#include "boxicons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

#include <initializer_list>

namespace quorvale::ui {

namespace {

enum class Sign { Exclamation, Information };

// A closed outline through the points, in order.
QPainterPath outline(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

// Both figures are drawn on a 32-unit square, scaled to the size asked for.
void paintExclamation(QPainter &p)
{
    // A yellow warning triangle with rounded corners and a black exclamation mark.
    const QPainterPath triangle = outline({{16, 2.5}, {30, 28.5}, {2, 28.5}});
    p.setPen(QPen(QColor(0x40, 0x30, 0x00), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(0xFF, 0xD4, 0x00));
    p.drawPath(triangle);

    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPath(outline({{14.2, 10}, {17.8, 10}, {16.9, 20.5}, {15.1, 20.5}}));
    p.drawEllipse(QPointF(16, 24.2), 1.9, 1.9);
}

void paintInformation(QPainter &p)
{
    // A blue disc with a white "i": a dot over a stem with a small foot.
    p.setPen(QPen(QColor(0x10, 0x38, 0x80), 1.5));
    p.setBrush(QColor(0x21, 0x6C, 0xD8));
    p.drawEllipse(QPointF(16, 16), 14, 14);

    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 9), 2.2, 2.2);
    p.drawPath(outline({{13, 13},
                        {17.8, 13},
                        {17.8, 22.5},
                        {19.5, 22.5},
                        {19.5, 24.5},
                        {12.5, 24.5},
                        {12.5, 22.5},
                        {14.2, 22.5},
                        {14.2, 15},
                        {13, 15}}));
}

class SignEngine : public QIconEngine
{
public:
    explicit SignEngine(Sign sign) : m_sign(sign) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode, QIcon::State) override
    {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / 32.0, rect.height() / 32.0);
        if (m_sign == Sign::Exclamation)
            paintExclamation(*painter);
        else
            paintInformation(*painter);
        painter->restore();
    }

    // Asked for in device pixels: the figure is drawn afresh at exactly that size.
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine *clone() const override { return new SignEngine(m_sign); }

private:
    Sign m_sign;
};

} // namespace

QIcon BoxIconStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption *option,
                                 const QWidget *widget) const
{
    switch (standardIcon) {
    case SP_MessageBoxWarning:
        return QIcon(new SignEngine(Sign::Exclamation));
    case SP_MessageBoxInformation:
        return QIcon(new SignEngine(Sign::Information));
    default:
        return QProxyStyle::standardIcon(standardIcon, option, widget);
    }
}

// 32 logical pixels whatever the style says: the signs are designed on a 32-unit square, and the
// box keeps one size of icon, and so one layout, on every desktop.
int BoxIconStyle::pixelMetric(PixelMetric metric, const QStyleOption *option,
                              const QWidget *widget) const
{
    if (metric == PM_MessageBoxIconSize)
        return 32;
    return QProxyStyle::pixelMetric(metric, option, widget);
}

} // namespace quorvale::ui
