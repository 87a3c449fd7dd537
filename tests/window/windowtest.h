#pragma once

#include "boardwidget.h"
#include "mainwindow.h"

#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace quorvale::ui::test {

// Stands in for the player in front of message boxes: answers each box that opens with the next
// answer of its list (a button, or Close: the window closed behind the box), after letting the
// test look at the world while the box is open. A box beyond the list fails the test and closes
// the window, which ends the game. Sees each box as "title | text | icon | default".
class BoxAnswerer : public QObject
{
public:
    using Inspect = std::function<void(QMessageBox &)>;
    explicit BoxAnswerer(std::vector<QMessageBox::StandardButton> answers, Inspect inspect = {})
        : m_answers(std::move(answers)), m_inspect(std::move(inspect))
    {
        connect(&m_poll, &QTimer::timeout, this, &BoxAnswerer::poll);
        m_poll.start(5);
    }
    const QStringList &seen() const { return m_seen; }

private:
    void poll();

    QTimer m_poll;
    std::vector<QMessageBox::StandardButton> m_answers;
    Inspect m_inspect;
    QStringList m_seen;
    bool m_busy = false; // the inspection may spin the event loop, and this timer with it
};

class WindowTest : public ::testing::Test
{
protected:
    // Opens a fresh window; its timers tick only when the test says so, unless asked otherwise.
    MainWindow &openWindow(TickSource ticks = TickSource::Manual)
    {
        m_window = std::make_unique<MainWindow>(ticks);
        m_window->show();
        m_window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
        return *m_window;
    }

    template<typename T = QWidget>
    T *child(const char *name) const
    {
        T *found = m_window->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    // A key pressed on the keyboard: Qt routes it to whatever holds the focus.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(m_window->windowHandle(), key, modifiers);
    }
    // An auto-repeat sent straight to the board, past the window's own routing.
    void repeatLeft()
    {
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(m_window->board(), &repeat);
    }
    void clickStart() { QTest::mouseClick(child("cmdstart"), Qt::LeftButton); }

    const Maze &maze() const { return m_window->maze(); }
    float pieceLeft() const { return maze().shape(Element::shpyou).left(); }
    float ballTop(Element ball) const { return maze().shape(ball).top(); }

    // Runs `action` inside an event loop; returns the status the program ended with, or -1 if
    // it did not end within a few seconds.
    int exitStatusOf(const std::function<void()> &action)
    {
        QEventLoop loop;
        QObject::connect(m_window.get(), &MainWindow::programEnded, &loop, &QEventLoop::exit);
        QTimer::singleShot(0, m_window.get(), action);
        QTimer::singleShot(5000, &loop, [&loop] { loop.exit(-1); });
        return loop.exec();
    }

    std::unique_ptr<MainWindow> m_window;
};

} // namespace quorvale::ui::test
