#include "boxicons.h"

#include "picturepainter.h"
#include "pictures.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

namespace quorvale::ui {

namespace {

// A sign of the boxes the game shows, as the page shows it too (pictures.h).
class SignEngine : public QIconEngine
{
public:
    explicit SignEngine(const pictures::Picture &sign) : m_sign(sign) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode, QIcon::State) override
    {
        paintPicture(*painter, m_sign, rect);
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
    const pictures::Picture &m_sign;
};

} // namespace

QIcon BoxIconStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption *option,
                                 const QWidget *widget) const
{
    switch (standardIcon) {
    case SP_MessageBoxWarning:
        return QIcon(new SignEngine(*pictures::boxIcon(vbExclamation)));
    case SP_MessageBoxInformation:
        return QIcon(new SignEngine(*pictures::boxIcon(vbInformation)));
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
