#include "picturepainter.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QStringList>

namespace quorvale::ui {

namespace {

using namespace pictures;

QColor colour(Rgb rgb)
{
    return QColor::fromRgb(rgb);
}

QPointF point(const Point &p)
{
    return {p.x, p.y};
}

QFont font(const Lettering &lettering)
{
    QStringList families;
    for (const std::string_view face : lettering.faces)
        families.append(QString::fromUtf8(face.data(), static_cast<qsizetype>(face.size())));
    QFont font(families);
    font.setStyleHint(QFont::Serif);
    font.setBold(lettering.bold);
    font.setItalic(lettering.italic);
    font.setPixelSize(qRound(lettering.pixels));
    return font;
}

QPainterPath outline(const Figure &figure, const Lettering &lettering)
{
    QPainterPath path;
    switch (figure.kind) {
    case FigureKind::Polygon: {
        QPolygonF polygon;
        for (const Point &p : figure.points)
            polygon.append(point(p));
        path.addPolygon(polygon);
        path.closeSubpath();
        break;
    }
    case FigureKind::Line:
        path.moveTo(point(figure.points[0]));
        path.lineTo(point(figure.points[1]));
        break;
    case FigureKind::Ellipse:
        path.addEllipse(point(figure.points[0]), figure.points[1].x, figure.points[1].y);
        break;
    case FigureKind::Text: {
        const QString text =
            QString::fromUtf8(lettering.text.data(), static_cast<qsizetype>(lettering.text.size()));
        path.addText(0, 0, font(lettering), text);
        path.translate(point(figure.points[0]) - path.boundingRect().center());
        break;
    }
    }
    return path;
}

QBrush brush(const Fill &fill)
{
    if (fill.stops.empty())
        return Qt::NoBrush;
    if (fill.stops.size() == 1)
        return colour(fill.stops.front().colour);
    QLinearGradient graded(0, fill.top, 0, fill.bottom);
    for (const ColourStop &stop : fill.stops)
        graded.setColorAt(stop.at, colour(stop.colour));
    return graded;
}

QPen pen(const Stroke &stroke)
{
    if (stroke.width <= 0)
        return Qt::NoPen;
    return QPen(colour(stroke.colour), stroke.width, Qt::SolidLine,
                stroke.round ? Qt::RoundCap : Qt::FlatCap,
                stroke.round ? Qt::RoundJoin : Qt::MiterJoin);
}

} // namespace

void paintPicture(QPainter &painter, const Picture &picture, const QRectF &target)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(target.topLeft());
    painter.scale(target.width() / picture.side, target.height() / picture.side);
    if (picture.ground)
        painter.fillRect(QRectF(0, 0, picture.side, picture.side), colour(*picture.ground));
    for (const Figure &figure : picture.figures) {
        painter.setBrush(brush(figure.fill));
        painter.setPen(pen(figure.stroke));
        painter.drawPath(outline(figure, picture.lettering));
    }
    painter.restore();
}

} // namespace quorvale::ui
