// Game controllers, plugged in through SDL's virtual joystick: the same SDL the window reads, its
// buttons and stick set by the test as a player's thumbs would.
#include "padkeys.h"
#include "windowtest.h"

#include <QPointer>
#include <QPushButton>

#include <SDL.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <string>

namespace quorvale::ui::test {
namespace {

class VirtualPad
{
public:
    VirtualPad()
    {
        SDL_InitSubSystem(SDL_INIT_JOYSTICK);
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        // Every button and axis, so that the joystick's numbers are the game controller's.
        desc.button_mask = (1U << SDL_CONTROLLER_BUTTON_MAX) - 1;
        desc.axis_mask = (1U << SDL_CONTROLLER_AXIS_MAX) - 1;
        desc.name = "virtual pad";
        m_joystick = SDL_JoystickOpen(SDL_JoystickAttachVirtualEx(&desc));
        EXPECT_NE(m_joystick, nullptr) << SDL_GetError();
        m_id = SDL_JoystickInstanceID(m_joystick);
    }
    ~VirtualPad()
    {
        unplug();
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    }
    VirtualPad(const VirtualPad &) = delete;
    VirtualPad &operator=(const VirtualPad &) = delete;

    // Whether the window has opened it as a game controller.
    bool pickedUp() const { return SDL_GameControllerFromInstanceID(m_id) != nullptr; }
    void set(SDL_GameControllerButton button, bool down)
    {
        SDL_JoystickSetVirtualButton(m_joystick, button, down ? SDL_PRESSED : SDL_RELEASED);
    }
    void setStick(Sint16 x, Sint16 y)
    {
        SDL_JoystickSetVirtualAxis(m_joystick, SDL_CONTROLLER_AXIS_LEFTX, x);
        SDL_JoystickSetVirtualAxis(m_joystick, SDL_CONTROLLER_AXIS_LEFTY, y);
    }
    void unplug()
    {
        if (!m_joystick)
            return;
        SDL_JoystickClose(m_joystick);
        m_joystick = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i) {
            if (SDL_JoystickGetDeviceInstanceID(i) == m_id)
                SDL_JoystickDetachVirtual(i);
        }
    }

private:
    SDL_Joystick *m_joystick = nullptr;
    SDL_JoystickID m_id = -1;
};

// The keys the program's windows receive, as the window system would hand them over.
class KeyLog : public QObject
{
public:
    struct Key
    {
        QEvent::Type type;
        int key;
        bool autoRepeat;
    };
    // Ahead of every filter installed before, so that it sees the keys a message box drops.
    void listen()
    {
        qApp->removeEventFilter(this);
        qApp->installEventFilter(this);
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched->isWindowType() &&
            (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
            const auto *key = static_cast<QKeyEvent *>(event);
            keys.push_back({event->type(), key->key(), key->isAutoRepeat()});
        }
        return false;
    }
    bool saw(QEvent::Type type, int key, std::size_t since) const
    {
        return std::any_of(keys.begin() + static_cast<std::ptrdiff_t>(since), keys.end(),
                           [&](const Key &k) { return k.type == type && k.key == key; });
    }
    std::vector<Key> keys;
};

class Gamepad : public WindowTest
{
protected:
    void plugIn()
    {
        m_log.listen();
        m_pad.emplace();
        EXPECT_TRUE(QTest::qWaitFor([&] { return m_pad->pickedUp(); })) << "not picked up";
    }
    // Whether the window has had the key since the log's entry `since`, within a few seconds.
    bool arrives(QEvent::Type type, int key, std::size_t since)
    {
        if (QTest::qWaitFor([&] { return m_log.saw(type, key, since); }))
            return true;
        ADD_FAILURE() << (type == QEvent::KeyPress ? "no press of " : "no release of ") << key;
        return false;
    }
    // Pressed until the window has the key, then released until it has the release.
    bool tap(SDL_GameControllerButton button, Qt::Key key)
    {
        const std::size_t since = m_log.keys.size();
        m_pad->set(button, true);
        const bool pressed = arrives(QEvent::KeyPress, key, since);
        m_pad->set(button, false);
        return pressed && arrives(QEvent::KeyRelease, key, since);
    }
    static std::string selected(const QMessageBox &box)
    {
        const auto *button = qobject_cast<const QAbstractButton *>(box.focusWidget());
        return button ? button->text().remove(QLatin1Char('&')).toStdString() : "(none)";
    }

    KeyLog m_log;
    std::optional<VirtualPad> m_pad;
};

SDL_GameControllerButton dpad(std::int16_t keyCode)
{
    switch (keyCode) {
    case vbKeyLeft:
        return SDL_CONTROLLER_BUTTON_DPAD_LEFT;
    case vbKeyUp:
        return SDL_CONTROLLER_BUTTON_DPAD_UP;
    case vbKeyRight:
        return SDL_CONTROLLER_BUTTON_DPAD_RIGHT;
    default:
        return SDL_CONTROLLER_BUTTON_DPAD_DOWN;
    }
}

// The arrow keys that walk the piece from the start onto the goal, from the golden script that
// wins a game.
std::vector<std::int16_t> winningKeys()
{
    std::ifstream script(QUORVALE_SCRIPTS_DIR "/win.script");
    std::vector<std::int16_t> keys;
    for (std::string line; std::getline(script, line) && line != "dump";) {
        if (line.starts_with("key "))
            keys.push_back(static_cast<std::int16_t>(std::stoi(line.substr(4))));
    }
    EXPECT_FALSE(keys.empty()) << "win.script";
    return keys;
}

Qt::Key arrow(std::int16_t keyCode)
{
    return static_cast<Qt::Key>(Qt::Key_Left + (keyCode - vbKeyLeft));
}

// The player at each box that opens, one act per box. An act ends by pressing the button that
// answers the box and returns at once: the press is delivered after it, and the next box opens
// before that press's release, as it does under a player's thumb.
class BoxActs : public QObject
{
public:
    using Act = std::function<void(QMessageBox &)>;
    explicit BoxActs(std::vector<Act> acts) : m_acts(std::move(acts))
    {
        connect(&m_poll, &QTimer::timeout, this, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (m_busy || !box || !box->isVisible() || box == m_last)
                return;
            m_busy = true;
            m_last = box;
            if (m_seen < m_acts.size())
                m_acts[m_seen](*box);
            else
                ADD_FAILURE() << "unexpected message box " << m_seen + 1 << ": "
                              << box->windowTitle().toStdString();
            ++m_seen;
            m_busy = false;
        });
        m_poll.start(5);
    }
    std::size_t seen() const { return m_seen; }

private:
    QTimer m_poll;
    std::vector<Act> m_acts;
    std::size_t m_seen = 0;
    QPointer<QMessageBox> m_last;
    bool m_busy = false;
};

TEST_F(Gamepad, WinsAWholeGameAndAnswersBothBoxes)
{
    openWindow();
    plugIn();
    tap(SDL_CONTROLLER_BUTTON_A, Qt::Key_Return);
    ASSERT_FALSE(maze().control(Element::cmdstart).visible()) << "A did not press Start";

    // The d-pad moves between Yes and No; B is Escape, which a box needing an answer ignores.
    const auto choose = [this](QMessageBox &box) {
        tap(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, Qt::Key_Right);
        EXPECT_EQ(selected(box), "No");
        tap(SDL_CONTROLLER_BUTTON_B, Qt::Key_Escape);
        EXPECT_TRUE(box.isVisible()) << "B answered the box";
        tap(SDL_CONTROLLER_BUTTON_DPAD_LEFT, Qt::Key_Left);
        EXPECT_EQ(selected(box), "Yes");
    };
    // As in the other endings, the first box is answered No and the second Yes. Each box opens
    // under a held A, which answers it only once let go and pressed again.
    const auto releaseA = [this](QMessageBox &box) {
        const std::size_t since = m_log.keys.size();
        m_pad->set(SDL_CONTROLLER_BUTTON_A, false);
        arrives(QEvent::KeyRelease, Qt::Key_Return, since);
        EXPECT_TRUE(box.isVisible()) << "the A held as the box opened answered it";
    };
    BoxActs acts({[&](QMessageBox &box) {
                      releaseA(box);
                      choose(box);
                      tap(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, Qt::Key_Right);
                      m_pad->set(SDL_CONTROLLER_BUTTON_A, true);
                  },
                  [&](QMessageBox &box) {
                      releaseA(box);
                      choose(box);
                      m_pad->set(SDL_CONTROLLER_BUTTON_START, true);
                  }});
    for (const std::int16_t key : winningKeys()) {
        if (!tap(dpad(key), arrow(key)))
            break;
    }
    // On the goal: the next press, whatever button, judges the step.
    m_pad->set(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return acts.seen() == 2 && !m_window->isMessageBoxOpen(); }));
    m_pad->set(SDL_CONTROLLER_BUTTON_START, false);

    EXPECT_EQ(acts.seen(), 2U);
    EXPECT_FALSE(maze().ended()) << "a box was answered No";
    EXPECT_TRUE(maze().control(Element::cmdstart).visible()) << "Yes resets to setup";
}

// Three steps right put the piece's corner into a wall; the fourth, held, judges it. Its repeats
// come marked as a held key's, and answer neither box nor move the choice in it.
TEST_F(Gamepad, HeldDirectionRepeatsAndAnswersNoBox)
{
    openWindow();
    plugIn();
    clickStart();
    for (int i = 0; i < 3; ++i)
        tap(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, Qt::Key_Right);

    const auto repeats = [this](std::size_t since) {
        return std::count_if(
            m_log.keys.begin() + static_cast<std::ptrdiff_t>(since), m_log.keys.end(),
            [](const KeyLog::Key &k) { return k.key == Qt::Key_Right && k.autoRepeat; });
    };
    BoxActs acts({[&](QMessageBox &box) {
                      const std::size_t since = m_log.keys.size();
                      EXPECT_TRUE(QTest::qWaitFor([&] { return repeats(since) >= 3; }))
                          << "no repeats of the held direction";
                      EXPECT_TRUE(box.isVisible()) << "a held direction's repeat answered the box";
                      EXPECT_EQ(selected(box), "Yes")
                          << "a held direction's repeat moved the choice";
                      const std::size_t released = m_log.keys.size();
                      m_pad->set(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false);
                      arrives(QEvent::KeyRelease, Qt::Key_Right, released);
                      tap(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, Qt::Key_Right); // No, then Yes
                      m_pad->set(SDL_CONTROLLER_BUTTON_A, true);
                  },
                  [&](QMessageBox &box) {
                      const std::size_t since = m_log.keys.size();
                      m_pad->set(SDL_CONTROLLER_BUTTON_A, false);
                      arrives(QEvent::KeyRelease, Qt::Key_Return, since);
                      EXPECT_TRUE(box.isVisible()) << "A held from the first box answered it";
                      m_pad->set(SDL_CONTROLLER_BUTTON_A, true);
                  }});
    m_pad->set(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true);
    EXPECT_TRUE(QTest::qWaitFor([&] { return acts.seen() == 2 && !m_window->isMessageBoxOpen(); }));
    m_pad->set(SDL_CONTROLLER_BUTTON_A, false);

    EXPECT_FALSE(maze().ended()) << "a box was answered No";
    EXPECT_TRUE(maze().control(Element::cmdstart).visible()) << "Yes resets to setup";
}

// A pad plugged in during play moves the piece at once; its stick counts past half its travel,
// along its main axis; pulled out while held, its key is let go.
TEST_F(Gamepad, PadPluggedInMidGameIsPickedUpAndLetGoWhenPulled)
{
    openWindow();
    clickStart();
    press(Qt::Key_Left);
    plugIn();
    tap(SDL_CONTROLLER_BUTTON_DPAD_LEFT, Qt::Key_Left);
    EXPECT_EQ(pieceLeft(), 5360.0F) << "the pad plugged in during play moved nothing";

    const std::size_t since = m_log.keys.size();
    m_pad->setStick(-22000, 18000); // past half its travel both ways: left, the main axis
    arrives(QEvent::KeyPress, Qt::Key_Left, since);
    EXPECT_FALSE(m_log.saw(QEvent::KeyPress, Qt::Key_Down, since)) << "the stick's lesser axis";
    EXPECT_EQ(pieceLeft(), 5160.0F);

    m_pad->unplug();
    arrives(QEvent::KeyRelease, Qt::Key_Left, since);
    EXPECT_EQ(maze().shape(Element::shpyou).top(), 240.0F);
}

using Clock = PadKeys::Clock;
using Kind = PadKeyEvent::Kind;

// The translation on its own clock: what a keyboard would have sent, press by press.
TEST(PadKeys, MapsControlsToTheKeysAKeyboardWouldSend)
{
    const Clock::time_point t0{};
    struct StickCase
    {
        float x, y;
        std::vector<PadKeyEvent> events;
    };
    const StickCase sticks[] = {
        {0.5F, 0.0F, {}},                               // half its travel is not past it
        {0.6F, -0.55F, {{PadKey::Right, Kind::Press}}}, // the main axis wins
        {-0.2F, -0.9F, {{PadKey::Right, Kind::Release}, {PadKey::Up, Kind::Press}}},
        {0.0F, -0.7F, {}},                           // still up: no second press
        {0.1F, 0.3F, {{PadKey::Up, Kind::Release}}}, // back inside
    };
    PadKeys keys;
    for (const StickCase &s : sticks)
        EXPECT_EQ(keys.stick(1, s.x, s.y, t0), s.events) << s.x << ", " << s.y;

    // The stick and the d-pad, on two pads, hold one Down: it is let go with the last of them.
    EXPECT_EQ(keys.stick(1, 0, 1, t0), (std::vector<PadKeyEvent>{{PadKey::Down, Kind::Press}}));
    EXPECT_TRUE(keys.button(2, PadButton::DpadDown, true, t0).empty());
    EXPECT_TRUE(keys.stick(1, 0, 0, t0).empty());
    EXPECT_EQ(keys.unplugged(2), (std::vector<PadKeyEvent>{{PadKey::Down, Kind::Release}}));

    EXPECT_EQ(keys.button(1, PadButton::South, true, t0),
              (std::vector<PadKeyEvent>{{PadKey::Enter, Kind::Press}}));
    EXPECT_TRUE(keys.button(1, PadButton::South, true, t0).empty()) << "one press, reported twice";
    EXPECT_TRUE(keys.button(1, PadButton::Start, true, t0).empty()) << "Enter is down already";
    EXPECT_TRUE(keys.button(1, PadButton::South, false, t0).empty());
    EXPECT_EQ(keys.button(1, PadButton::Start, false, t0),
              (std::vector<PadKeyEvent>{{PadKey::Enter, Kind::Release}}));
    EXPECT_EQ(keys.button(1, PadButton::East, true, t0),
              (std::vector<PadKeyEvent>{{PadKey::Escape, Kind::Press}}));
}

TEST(PadKeys, HeldDirectionRepeatsAsAHeldKeyWithoutCatchingUp)
{
    using namespace std::chrono_literals;
    const Clock::time_point t0{};
    PadKeys keys;
    keys.button(1, PadButton::South, true, t0);
    EXPECT_FALSE(keys.nextRepeat()) << "Enter repeats";
    keys.button(1, PadButton::DpadLeft, true, t0);
    EXPECT_TRUE(keys.repeatsDue(t0 + 499ms).empty());
    const std::vector<PadKeyEvent> repeat{{PadKey::Left, Kind::Repeat}};
    EXPECT_EQ(keys.repeatsDue(t0 + 500ms), repeat);
    EXPECT_TRUE(keys.repeatsDue(t0 + 520ms).empty());
    EXPECT_EQ(keys.repeatsDue(t0 + 534ms), repeat);
    EXPECT_EQ(keys.repeatsDue(t0 + 2s), repeat) << "one repeat, however late";
    EXPECT_TRUE(keys.repeatsDue(t0 + 2s + 20ms).empty());

    // The last direction pressed repeats; let go, nothing does.
    keys.button(1, PadButton::DpadUp, true, t0 + 3s);
    EXPECT_EQ(keys.repeatsDue(t0 + 3500ms), (std::vector<PadKeyEvent>{{PadKey::Up, Kind::Repeat}}));
    keys.button(1, PadButton::DpadUp, false, t0 + 4s);
    EXPECT_TRUE(keys.repeatsDue(t0 + 5s).empty());
}

} // namespace
} // namespace quorvale::ui::test
