#pragma once

#include "boardwidget.h"
#include "mainwindow.h"

#include <QApplication>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace quorvale::ui::test {

// The one application object of the test program, made on first use.
QApplication &application();

class WindowTest : public ::testing::Test
{
protected:
    void SetUp() override { application(); }

    // Opens a fresh window; its timers tick only when the test says so, unless asked otherwise.
    MainWindow &openWindow(TickSource ticks = TickSource::Manual)
    {
        m_window = std::make_unique<MainWindow>(ticks);
        m_window->show();
        m_window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
        return *m_window;
    }

    template<typename T>
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

    void clickStart() { QTest::mouseClick(child<QWidget>("cmdstart"), Qt::LeftButton); }

    const Maze &maze() const { return m_window->maze(); }

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
