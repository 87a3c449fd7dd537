#pragma once

#include <QImage>
#include <QPushButton>

class QPainter;

namespace quorvale::ui {

// The start button: its face is the start picture, shown centred and clipped to the face, with no
// text.
class StartButton : public QPushButton
{
    Q_OBJECT

public:
    explicit StartButton(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void paintBevel(QPainter &p, bool down) const;

    QImage m_picture;
};

} // namespace quorvale::ui
