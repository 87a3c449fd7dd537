#pragma once

#include "elementclasses.h"

#include <QFont>
#include <QImage>
#include <QRect>
#include <QRegion>
#include <QWidget>

#include <array>
#include <cstdint>

class QLabel;

namespace quorvale {
class Maze;
class ShapeElement;
namespace script {
class Ghost;
}
} // namespace quorvale

namespace quorvale::ui {

// The client area: the window's ground, the board, the walls, the pieces and the label, painted
// in the layout's drawing order. The setup controls are its children, so they lie above it all.
// While it holds the focus, every key-down goes to the game, Tab and auto-repeats included.
class BoardWidget : public QWidget
{
    Q_OBJECT

public:
    explicit BoardWidget(const Maze &maze, QWidget *parent = nullptr);

    // Repaints what an element covered and what it covers now, at once, so a step is on screen
    // before anything that follows it, such as a message box. Inside a Batch the repaint waits
    // for the batch's end (or for flushPending()), so changes made together reach the screen in
    // one repaint.
    void refresh(Element element);
    void flushPending();

    class Batch
    {
    public:
        explicit Batch(BoardWidget &board) : m_board(board) { ++m_board.m_batchDepth; }
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;
        ~Batch()
        {
            if (--m_board.m_batchDepth == 0)
                m_board.flushPending();
        }

    private:
        BoardWidget &m_board;
    };
    // Where the element was last drawn, in logical pixels (empty for the controls and timers).
    QRect paintedRect(Element element) const { return m_painted[index(element)]; }

    // A ghost's piece, drawn faintly just above the walls and below everything else; nullptr
    // for none. refreshGhost() repaints where it was and where it is.
    void setGhost(const script::Ghost *ghost);
    void refreshGhost();
    QRect ghostRect() const { return m_ghostPainted; }

signals:
    void keyDown(std::int16_t keyCode, std::int16_t shift);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QRect currentRect(Element element) const;
    void paintShape(QPainter &painter, const ShapeElement &shape);
    void paintGhost(QPainter &painter);
    QRect currentGhostRect() const;
    const QImage &roundFigure(const ShapeElement &shape, QSizeF size, qreal border, qreal dpr);
    void paintLabel(QPainter &painter) const;

    const Maze &m_maze;
    QFont m_labelFont;
    QLabel *m_labelText = nullptr; // the label's caption for a screen reader; the board paints it
    std::array<QRect, elementCount> m_painted{};
    QRegion m_pending;
    const script::Ghost *m_ghost = nullptr;
    QRect m_ghostPainted;

    // Round figures drawn once and copied after: a ball's tick then costs two small copies
    // instead of four smoothed ellipses. The few pieces' looks fit with room to spare.
    struct FigureKey
    {
        ShapeKind kind;
        Colour fill;
        Colour border;
        QSize deviceSize;
        int deviceBorder;
        qreal dpr;
        friend bool operator==(const FigureKey &, const FigureKey &) = default;
    };
    struct Figure
    {
        FigureKey key;
        QImage image;
    };
    std::array<Figure, 12> m_figures{};
    std::size_t m_nextFigure = 0;
    int m_batchDepth = 0;
};

} // namespace quorvale::ui
