#include "startpicture.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace quorvale::ui {

namespace {

const QColor gold(0xD4, 0xA0, 0x17);
const QColor darkGold(0x8C, 0x64, 0x0A);

} // namespace

QImage drawStartPicture(qreal devicePixelRatio)
{
    const int side = qRound(startPictureSize * devicePixelRatio);
    QImage image(side, side, QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::white);

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // The button shows only the middle band, 169 by 73 pixels; the word must fit well inside it.
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setStyleHint(QFont::Serif);
    font.setBold(true);
    font.setItalic(true);
    font.setPixelSize(52);

    const QString word = QStringLiteral("Start");
    QPainterPath text;
    text.addText(0, 0, font, word);
    const QRectF bounds = text.boundingRect();
    const QPointF centre(startPictureSize / 2.0, startPictureSize / 2.0);
    text.translate(centre - bounds.center());

    // A thin gold rule above and below the word, with a diamond at each end.
    const qreal ruleLeft = centre.x() - 72;
    const qreal ruleRight = centre.x() + 72;
    p.setPen(QPen(gold, 1.5));
    for (const qreal y : {centre.y() - 30.0, centre.y() + 30.0}) {
        p.drawLine(QPointF(ruleLeft + 6, y), QPointF(ruleRight - 6, y));
        for (const qreal x : {ruleLeft + 3, ruleRight - 3}) {
            QPainterPath diamond;
            diamond.moveTo(x - 3, y);
            diamond.lineTo(x, y - 3);
            diamond.lineTo(x + 3, y);
            diamond.lineTo(x, y + 3);
            diamond.closeSubpath();
            p.fillPath(diamond, gold);
        }
    }

    QLinearGradient grey(0, centre.y() - 26, 0, centre.y() + 26);
    grey.setColorAt(0.0, QColor(0xB4, 0xB4, 0xB4));
    grey.setColorAt(0.5, QColor(0x8C, 0x8C, 0x8C));
    grey.setColorAt(1.0, QColor(0x5A, 0x5A, 0x5A));

    p.setPen(QPen(darkGold, 4.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(text);
    p.setPen(QPen(gold, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(grey);
    p.drawPath(text);
    return image;
}

} // namespace quorvale::ui
