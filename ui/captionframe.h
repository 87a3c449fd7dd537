#pragma once

#include <QGroupBox>

namespace quorvale::ui {

// A frame as the layout means one: its whole inside one colour (the palette's Window, like the
// option buttons on it), an etched outline, and the caption standing on the outline's top edge,
// which breaks off behind it.
class CaptionFrame : public QGroupBox
{
    Q_OBJECT

public:
    explicit CaptionFrame(const QString &caption, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace quorvale::ui
