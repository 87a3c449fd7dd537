#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <vector>

namespace quorvale::ui::test {

struct SeenBox
{
    QString title;
    QString text;
    QMessageBox::Icon icon;
    QString defaultButton;
};

// Stands in for the player in front of message boxes: answers each box that opens with the next
// answer of its list, after letting the test look at the world while the box is open.
class BoxAnswerer : public QObject
{
public:
    enum class Answer { Yes, No, CloseWindow };
    using Inspect = std::function<void(QMessageBox &)>;

    explicit BoxAnswerer(std::vector<Answer> answers, Inspect inspect = {});

    const std::vector<SeenBox> &seen() const { return m_seen; }

private:
    void poll();

    QTimer m_poll;
    std::vector<Answer> m_answers;
    Inspect m_inspect;
    std::vector<SeenBox> m_seen;
    bool m_busy = false; // the inspection may spin the event loop, and this timer with it
};

} // namespace quorvale::ui::test
