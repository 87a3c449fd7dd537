#pragma once

#include <QMessageBox>

#include <memory>

class QPushButton;
class QStyle;

namespace quorvale::ui {

// A message box of the game: the prompt under its title, the icon the style number asks for,
// Yes and No with Yes the default, and an answer required (Escape and the box's own close button
// do nothing). It is wide enough to show its whole title in the title bar.
class MessageBox
{
public:
    // `iconStyle` draws the box's icon and must outlive the box.
    MessageBox(QWidget *parent, QStyle &iconStyle, const QString &prompt, int style,
               const QString &title);
    ~MessageBox();
    MessageBox(const MessageBox &) = delete;
    MessageBox &operator=(const MessageBox &) = delete;

    QMessageBox &box() { return m_box; }
    // Shows the box until it is answered, or rejected from outside; whether Yes was chosen.
    bool exec();

private:
    QMessageBox m_box;
    std::unique_ptr<QObject> m_answerRequired;
    QPushButton *m_yes = nullptr;
};

} // namespace quorvale::ui
