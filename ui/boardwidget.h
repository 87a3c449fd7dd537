#pragma once

#include "element.h"

#include <QFont>
#include <QRect>
#include <QWidget>

#include <array>
#include <cstdint>

namespace quorvale {
class Maze;
class ShapeElement;
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
    // before anything that follows it, such as a message box.
    void refresh(Element element);
    // Where the element was last drawn, in logical pixels (empty for the controls and timers).
    QRect paintedRect(Element element) const { return m_painted[index(element)]; }

signals:
    void keyDown(std::int16_t keyCode, std::int16_t shift);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QRect currentRect(Element element) const;
    void paintShape(QPainter &painter, const ShapeElement &shape) const;
    void paintLabel(QPainter &painter) const;

    const Maze &m_maze;
    QFont m_labelFont;
    std::array<QRect, elementCount> m_painted{};
};

} // namespace quorvale::ui
