#include "boardwidget.h"

#include "geometry.h"
#include "ghost.h"
#include "keymap.h"
#include "maze.h"
#include "systemcolours.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <utility>

namespace quorvale::ui {

namespace {

QFont labelFont()
{
    const QString face = QString::fromUtf8(layout::labelFontFace.data(),
                                           static_cast<qsizetype>(layout::labelFontFace.size()));
    QFont::insertSubstitutions(face, {QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
    QFont font(face);
    font.setStyleHint(QFont::SansSerif);
    // Points at the layout's 96 dots per inch, whatever the screen reports, like every other size.
    font.setPixelSize(layout::labelFontPoints * 96 / 72);
    font.setWeight(QFont::Normal);
    return font;
}

qreal cornerRadius(const QRectF &figure)
{
    return std::min(figure.width(), figure.height()) / 4.0;
}

QPainterPath figurePath(const QRectF &r, ShapeKind kind, qreal radius)
{
    QPainterPath path;
    switch (kind) {
    case ShapeKind::Rectangle:
    case ShapeKind::Square:
        path.addRect(r);
        break;
    case ShapeKind::Oval:
    case ShapeKind::Circle:
        path.addEllipse(r);
        break;
    case ShapeKind::RoundedRectangle:
    case ShapeKind::RoundedSquare:
        path.addRoundedRect(r, radius, radius);
        break;
    }
    return path;
}

// The label as a screen reader meets it: static text whose name is the caption. The board paints
// the label itself, in its place in the drawing order, so this one paints nothing and lets clicks
// through.
class LabelText : public QLabel
{
public:
    explicit LabelText(QWidget *parent) : QLabel(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        setTextFormat(Qt::PlainText);
    }

protected:
    void paintEvent(QPaintEvent * /*event*/) override {}
};

} // namespace

BoardWidget::BoardWidget(const Maze &maze, QWidget *parent)
    : QWidget(parent), m_maze(maze), m_labelFont(labelFont())
{
    setObjectName(QStringLiteral("frmmaze"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The board takes the focus only when the game gives it, never from a click or Tab.
    setFocusPolicy(Qt::NoFocus);
    for (const Element e : layout::drawingOrder)
        m_painted[index(e)] = currentRect(e);
    m_labelText = new LabelText(this);
    m_labelText->setObjectName(QStringLiteral("lblabout"));
    m_labelText->setGeometry(currentRect(Element::lblabout));
}

namespace {

QRect shapeRect(const ShapeElement &s)
{
    return coveringRect(figureRect(elementRect(s), s.shape()));
}

} // namespace

QRect BoardWidget::currentRect(Element element) const
{
    if (element == Element::lblabout)
        return toPixels(m_maze.label().geometry());
    if (element == Element::frmmaze)
        return rect();
    if (!isShape(element))
        return {};
    return shapeRect(m_maze.shape(element));
}

QRect BoardWidget::currentGhostRect() const
{
    return m_ghost ? shapeRect(m_ghost->maze().shape(Element::shpyou)) : QRect();
}

void BoardWidget::setGhost(const script::Ghost *ghost)
{
    m_ghost = ghost;
    refreshGhost();
}

void BoardWidget::refreshGhost()
{
    const QRect now = currentGhostRect();
    if (now == m_ghostPainted)
        return;
    m_pending += m_ghostPainted;
    m_pending += now;
    m_ghostPainted = now;
    if (m_batchDepth == 0)
        flushPending();
}

void BoardWidget::refresh(Element element)
{
    if (element == Element::lblabout) {
        // QLabel tells a listening screen reader that its name changed, so the new caption is
        // read out once.
        m_labelText->setText(QString::fromStdString(m_maze.label().caption()));
    }
    if (element == Element::frmmaze) {
        m_pending = rect();
    } else {
        const QRect now = currentRect(element);
        m_pending += m_painted[index(element)];
        m_pending += now;
        m_painted[index(element)] = now;
    }
    if (m_batchDepth == 0)
        flushPending();
}

void BoardWidget::flushPending()
{
    if (m_pending.isEmpty())
        return;
    repaint(std::exchange(m_pending, QRegion()));
}

bool BoardWidget::event(QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        // A key a setup control left unused comes up here; it was that control's, not the game's.
        if (!hasFocus()) {
            event->ignore();
            return false;
        }
        // Straight to the game: Tab would otherwise move the focus first.
        keyPressEvent(static_cast<QKeyEvent *>(event));
        return true;
    }
    return QWidget::event(event);
}

void BoardWidget::keyPressEvent(QKeyEvent *event)
{
    event->accept();
    emit keyDown(virtualKeyCode(event->key(), event->modifiers()), shiftState(event->modifiers()));
}

void BoardWidget::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    const QColor ground = toQColor(m_maze.form().backColor());
    // One rectangle of the dirty region at a time: clipped to a plain rectangle, the painter
    // clips every fill by arithmetic. Clipped to a region of several rectangles (two balls a
    // tick), it would walk every scan line of the board's and the walls' fills instead.
    for (const QRect &dirty : event->region()) {
        p.setClipRect(dirty);
        p.fillRect(dirty, ground);
        const auto paintElement = [&](Element e) {
            if (!dirty.intersects(m_painted[index(e)]))
                return;
            if (e == Element::lblabout)
                paintLabel(p);
            else
                paintShape(p, m_maze.shape(e));
        };
        if (!m_ghost) {
            for (const Element e : layout::drawingOrder)
                paintElement(e);
            continue;
        }
        for (const Element e : layout::drawingOrder) {
            if (layout::underGhost(e))
                paintElement(e);
        }
        if (dirty.intersects(m_ghostPainted))
            paintGhost(p);
        for (const Element e : layout::drawingOrder) {
            if (!layout::underGhost(e))
                paintElement(e);
        }
    }
}

// At half opacity as a whole: the figure is drawn opaque on its own layer first, so its border
// and fill do not show through each other.
void BoardWidget::paintGhost(QPainter &p)
{
    const qreal dpr = devicePixelRatioF();
    const QRect r = m_ghostPainted;
    QImage layer(r.size() * dpr, QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(dpr);
    layer.fill(Qt::transparent);
    {
        QPainter lp(&layer);
        lp.translate(-r.topLeft());
        paintShape(lp, m_ghost->maze().shape(Element::shpyou));
    }
    p.save();
    p.setOpacity(0.5);
    p.drawImage(r.topLeft(), layer);
    p.restore();
}

// Solid fill, with the border lying inside the figure.
void BoardWidget::paintShape(QPainter &p, const ShapeElement &shape)
{
    const qreal dpr = devicePixelRatioF();
    const QRectF outer = snapToDevicePixels(figureRect(elementRect(shape), shape.shape()), dpr);
    const qreal border =
        std::max(1.0, std::round(shape.borderWidth() * dpr)) / dpr; // at least one device pixel
    const QRectF inner = outer.adjusted(border, border, -border, -border);

    const bool straight =
        shape.shape() == ShapeKind::Rectangle || shape.shape() == ShapeKind::Square;
    if (!straight) {
        p.drawImage(outer.topLeft(), roundFigure(shape, outer.size(), border, dpr));
        return;
    }
    p.fillRect(outer, toQColor(shape.borderColor()));
    if (inner.width() > 0 && inner.height() > 0)
        p.fillRect(inner, toQColor(shape.fillColor()));
}

// The smoothed figure on a transparent ground, at the origin, in device pixels.
const QImage &BoardWidget::roundFigure(const ShapeElement &shape, QSizeF size, qreal border,
                                       qreal dpr)
{
    const FigureKey key{
        shape.shape(),        shape.fillColor(),
        shape.borderColor(),  QSize(qRound(size.width() * dpr), qRound(size.height() * dpr)),
        qRound(border * dpr), dpr};
    for (const Figure &f : m_figures) {
        if (!f.image.isNull() && f.key == key)
            return f.image;
    }
    Figure &f = m_figures[m_nextFigure];
    m_nextFigure = (m_nextFigure + 1) % m_figures.size();
    f.key = key;
    f.image = QImage(key.deviceSize, QImage::Format_ARGB32_Premultiplied);
    f.image.setDevicePixelRatio(dpr);
    f.image.fill(Qt::transparent);

    QPainter p(&f.image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const QRectF outer(QPointF(0, 0), size);
    const QRectF inner = outer.adjusted(border, border, -border, -border);
    const qreal radius = cornerRadius(outer);
    p.setBrush(toQColor(shape.borderColor()));
    p.drawPath(figurePath(outer, shape.shape(), radius));
    if (inner.width() > 0 && inner.height() > 0) {
        p.setBrush(toQColor(shape.fillColor()));
        p.drawPath(figurePath(inner, shape.shape(), std::max(0.0, radius - border)));
    }
    return f.image;
}

void BoardWidget::paintLabel(QPainter &p) const
{
    const Label &label = m_maze.label();
    const QRect r = toPixels(label.geometry());
    p.save();
    p.setClipRect(r, Qt::IntersectClip);
    p.fillRect(r, toQColor(layout::controlBackColor));
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(m_labelFont);
    p.setPen(toQColor(layout::controlForeColor));
    p.drawText(r, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               QString::fromStdString(label.caption()));
    p.restore();
}

} // namespace quorvale::ui
