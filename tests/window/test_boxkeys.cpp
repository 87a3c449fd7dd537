// A message box of the game opens in the middle of a key press. Whatever the player's fingers
// were still doing then (holding the arrow that lost the game, or the Enter that answered the
// first box) must not answer it: both boxes are seen and answered on purpose.
#include "windowtest.h"

#include <QLineEdit>
#include <QPushButton>

namespace quorvale::ui::test {
namespace {

using BoxKeys = WindowTest;

// The keyboard as the window system delivers it: to a window, then to its focused widget, each
// event stamped with the time it happened.
class Keyboard
{
public:
    // A platform that stamps no time on its key events gives them all time 0.
    explicit Keyboard(bool stamped = true) : m_stamped(stamped) {}

    void down(QWindow *window, Qt::Key key) { send(window, QEvent::KeyPress, key, false, tick()); }
    void up(QWindow *window, Qt::Key key) { send(window, QEvent::KeyRelease, key, false, tick()); }
    void click(QWindow *window, Qt::Key key)
    {
        down(window, key);
        up(window, key);
    }
    // A held key repeating: a release and a press at one instant, X11's way, marked as repeats
    // or, where the platform did not recognise them, not.
    void repeat(QWindow *window, Qt::Key key, bool marked, int times = 3)
    {
        for (int i = 0; i < times; ++i) {
            const ulong now = tick();
            send(window, QEvent::KeyRelease, key, marked, now);
            send(window, QEvent::KeyPress, key, marked, now);
        }
    }
    // A repeat where the platform repeats only the press, marked or not.
    void repeatPress(QWindow *window, Qt::Key key, bool marked)
    {
        send(window, QEvent::KeyPress, key, marked, tick());
    }

private:
    ulong tick() { return m_stamped ? m_time += 40 : 0; }
    static void send(QWindow *window, QEvent::Type type, Qt::Key key, bool repeat, ulong time)
    {
        QKeyEvent event(type, key, Qt::NoModifier, QString(), repeat);
        event.setTimestamp(time);
        QApplication::sendEvent(window, &event);
    }

    bool m_stamped;
    ulong m_time = 1000;
};

std::string selected(const QMessageBox &box)
{
    const auto *button = qobject_cast<const QAbstractButton *>(box.focusWidget());
    return button ? button->text().remove(QLatin1Char('&')).toStdString() : "(none)";
}

// The player at each box that opens, one act per box; an act answers its box with the keyboard.
// A box its act leaves open is a failure, answered Yes with the mouse so the test can go on.
class BoxActs : public QObject
{
public:
    using Act = std::function<void(QMessageBox &)>;
    explicit BoxActs(std::vector<Act> acts) : m_acts(std::move(acts))
    {
        connect(&m_poll, &QTimer::timeout, this, &BoxActs::poll);
        m_poll.start(5);
    }
    // The button that answered each box.
    const std::vector<std::string> &answers() const { return m_answers; }

private:
    void poll()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (m_busy || !box || !box->isVisible())
            return;
        m_busy = true;
        const std::size_t n = m_answers.size();
        if (n < m_acts.size())
            m_acts[n](*box);
        else
            ADD_FAILURE() << "unexpected message box " << n + 1;
        if (box->isVisible()) {
            ADD_FAILURE() << "box " << n + 1 << " was left open";
            box->button(QMessageBox::Yes)->click();
        }
        const QAbstractButton *answer = box->clickedButton();
        m_answers.push_back(answer ? answer->text().remove(QLatin1Char('&')).toStdString()
                                   : "(none)");
        m_busy = false;
    }

    QTimer m_poll;
    std::vector<Act> m_acts;
    std::vector<std::string> m_answers;
    bool m_busy = false;
};

struct HeldEnding
{
    const char *name;
    const char *cheat;
    std::vector<Qt::Key> steps; // pressed and released
    Qt::Key held;               // pressed and held: its press opens the boxes
};

TEST_F(BoxKeys, OnlyFreshPressesAnswerBothBoxesOfALossOrAWin)
{
    const HeldEnding endings[] = {
        // Three steps right put the piece's corner into wall shp5; the fourth, held, judges it.
        {"loss, Right held into a wall", "", std::vector(3, Qt::Key_Right), Qt::Key_Right},
        // Skip-jump puts the piece nine steps right of the goal; the tenth Left is judged on it.
        {"win, Left held onto the goal", "skipjump", std::vector(9, Qt::Key_Left), Qt::Key_Left},
    };
    for (const HeldEnding &e : endings) {
        SCOPED_TRACE(e.name);
        openWindow();
        QTest::keyClicks(child<QLineEdit>("txtcheat"), QString::fromLatin1(e.cheat));
        clickStart();
        for (const Qt::Key key : e.steps)
            press(key);

        const auto stillOpen = [](QMessageBox &box, const char *after) {
            EXPECT_TRUE(box.isVisible()) << "answered by " << after;
            EXPECT_EQ(selected(box), "Yes") << "moved by " << after;
            return box.isVisible();
        };
        Keyboard keys;
        const auto firstBox = [&](QMessageBox &box) {
            QWindow *w = box.windowHandle();
            EXPECT_EQ(selected(box), "Yes");
            keys.repeat(w, e.held, true);
            if (!stillOpen(box, "the held key's marked repeats"))
                return;
            keys.repeat(w, e.held, false);
            keys.repeatPress(w, e.held, false);
            if (!stillOpen(box, "the held key's unmarked repeats"))
                return;
            keys.repeatPress(w, Qt::Key_Return, true);
            keys.repeat(w, Qt::Key_Space, true);
            if (!stillOpen(box, "repeats of Enter and Space"))
                return;
            keys.up(w, e.held);
            if (!stillOpen(box, "the held key's release"))
                return;
            // Fresh presses act as on any dialog.
            keys.click(w, Qt::Key_Right);
            EXPECT_EQ(selected(box), "No");
            keys.click(w, Qt::Key_Tab);
            EXPECT_EQ(selected(box), "Yes");
            keys.click(w, Qt::Key_Tab);
            EXPECT_EQ(selected(box), "No");
            keys.click(w, Qt::Key_Left);
            EXPECT_EQ(selected(box), "Yes");
            keys.down(w, Qt::Key_Return); // answers, and stays down as the second box opens
        };
        const auto secondBox = [&](QMessageBox &box) {
            QWindow *w = box.windowHandle();
            EXPECT_EQ(selected(box), "Yes");
            keys.repeat(w, Qt::Key_Return, true);
            if (!stillOpen(box, "Enter's marked repeats, held from the first box"))
                return;
            keys.repeat(w, Qt::Key_Return, false);
            keys.repeatPress(w, Qt::Key_Return, false);
            if (!stillOpen(box, "Enter's unmarked repeats"))
                return;
            keys.up(w, Qt::Key_Return);
            if (!stillOpen(box, "Enter's release"))
                return;
            // A key pressed fresh in the box acts once; its repeats do not, even where the
            // platform sends them as unmarked presses.
            keys.down(w, Qt::Key_Tab);
            EXPECT_EQ(selected(box), "No");
            keys.repeatPress(w, Qt::Key_Tab, false);
            keys.repeat(w, Qt::Key_Tab, false);
            EXPECT_EQ(selected(box), "No") << "moved by a fresh Tab's unmarked repeats";
            keys.up(w, Qt::Key_Tab);
            // With no time stamps, a press after a release is not that release's repeat.
            Keyboard unstamped(false);
            unstamped.click(w, Qt::Key_Tab);
            EXPECT_EQ(selected(box), "Yes");
            unstamped.click(w, Qt::Key_Tab);
            EXPECT_EQ(selected(box), "No") << "a fresh Tab with no time stamp taken for a repeat";
            unstamped.click(w, Qt::Key_Tab);
            keys.click(w, Qt::Key_Right);
            EXPECT_EQ(selected(box), "No");
            keys.click(w, Qt::Key_Left);
            keys.down(w, Qt::Key_Space);
            EXPECT_TRUE(box.isVisible()) << "Space answers on its release, as on any button";
            keys.up(w, Qt::Key_Space);
        };
        BoxActs acts({firstBox, secondBox});
        keys.down(m_window->windowHandle(), e.held);

        EXPECT_EQ(acts.answers(), (std::vector<std::string>{"Yes", "Yes"}));
        EXPECT_FALSE(maze().ended());
        EXPECT_TRUE(maze().control(Element::cmdstart).visible()) << "Yes resets to setup";
        EXPECT_EQ(pieceLeft(), 5760.0F);
    }
}

} // namespace
} // namespace quorvale::ui::test
