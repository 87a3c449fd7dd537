#include "gamepadinput.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

#include <SDL.h>

#include <chrono>
#include <optional>
#include <utility>

namespace quorvale::ui {

namespace {

using namespace std::chrono_literals;

// Often enough that a press is felt at once and a held direction repeats on time; with no pad,
// only often enough to notice one being plugged in.
constexpr auto pollWithPads = 10ms;
constexpr auto pollWithoutPads = 250ms;

std::optional<PadButton> padButton(Uint8 button)
{
    switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
        return PadButton::DpadUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
        return PadButton::DpadDown;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        return PadButton::DpadLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        return PadButton::DpadRight;
    case SDL_CONTROLLER_BUTTON_A:
        return PadButton::South;
    case SDL_CONTROLLER_BUTTON_B:
        return PadButton::East;
    case SDL_CONTROLLER_BUTTON_START:
        return PadButton::Start;
    default:
        return std::nullopt;
    }
}

float axisValue(SDL_GameController *controller, SDL_GameControllerAxis axis)
{
    return static_cast<float>(SDL_GameControllerGetAxis(controller, axis)) / SDL_JOYSTICK_AXIS_MAX;
}

// The key a keyboard would send, with the text it would carry.
std::pair<Qt::Key, QString> qtKey(PadKey key)
{
    switch (key) {
    case PadKey::Up:
        return {Qt::Key_Up, QString()};
    case PadKey::Down:
        return {Qt::Key_Down, QString()};
    case PadKey::Left:
        return {Qt::Key_Left, QString()};
    case PadKey::Right:
        return {Qt::Key_Right, QString()};
    case PadKey::Enter:
        return {Qt::Key_Return, QStringLiteral("\r")};
    case PadKey::Escape:
        return {Qt::Key_Escape, QStringLiteral("\x1b")};
    }
    return {Qt::Key_unknown, QString()};
}

} // namespace

void GamepadInput::CloseController::operator()(SDL_GameController *controller) const
{
    SDL_GameControllerClose(controller);
}

GamepadInput::GamepadInput(QObject *parent) : QObject(parent)
{
    // SDL is a guest in a Qt program: Ctrl+C and the session's end stay Qt's.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
        return;
    m_running = true;
    connect(&m_poll, &QTimer::timeout, this, &GamepadInput::poll);
    m_poll.setTimerType(Qt::PreciseTimer);
    m_poll.start(pollWithoutPads);
}

GamepadInput::~GamepadInput()
{
    if (!m_running)
        return;
    m_controllers.clear();
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void GamepadInput::open(int deviceIndex)
{
    SDL_GameController *controller = SDL_GameControllerOpen(deviceIndex);
    if (!controller)
        return;
    const int id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    m_controllers[id].reset(controller);
}

void GamepadInput::poll()
{
    const auto now = PadKeys::Clock::now();
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            open(event.cdevice.which);
            break;
        case SDL_CONTROLLERDEVICEREMOVED:
            post(m_keys.unplugged(event.cdevice.which));
            m_controllers.erase(event.cdevice.which);
            break;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            if (const auto button = padButton(event.cbutton.button)) {
                post(m_keys.button(event.cbutton.which, *button, event.cbutton.state == SDL_PRESSED,
                                   now));
            }
            break;
        case SDL_CONTROLLERAXISMOTION:
            if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX ||
                event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) {
                const auto found = m_controllers.find(event.caxis.which);
                if (found == m_controllers.end())
                    break;
                SDL_GameController *controller = found->second.get();
                post(m_keys.stick(event.caxis.which,
                                  axisValue(controller, SDL_CONTROLLER_AXIS_LEFTX),
                                  axisValue(controller, SDL_CONTROLLER_AXIS_LEFTY), now));
            }
            break;
        default:
            break;
        }
    }
    post(m_keys.repeatsDue(now));
    const auto interval = m_controllers.empty() ? pollWithoutPads : pollWithPads;
    if (m_poll.intervalAsDuration() != interval)
        m_poll.start(interval);
}

// Each key in turn, to the window that has the keyboard focus when its turn comes, as the window
// system gives it a key: the window hands it to its focused widget, to an open menu, or to the
// message box the key before opened. With none of the program's windows active, a press goes
// nowhere, as a key would.
void GamepadInput::post(const std::vector<PadKeyEvent> &events)
{
    for (const PadKeyEvent &event : events) {
        QMetaObject::invokeMethod(
            this,
            [event] {
                QWindow *window = QGuiApplication::focusWindow();
                // Where the compositor tells no window of its focus, the widget Qt holds active
                // is the one a key would reach.
                if (const QWidget *active = QApplication::activeWindow(); !window && active)
                    window = active->windowHandle();
                if (!window)
                    return;
                const auto [key, text] = qtKey(event.key);
                const auto type = event.kind == PadKeyEvent::Kind::Release ? QEvent::KeyRelease
                                                                           : QEvent::KeyPress;
                QKeyEvent keyEvent(type, key, Qt::NoModifier, text,
                                   event.kind == PadKeyEvent::Kind::Repeat);
                QCoreApplication::sendEvent(window, &keyEvent);
            },
            Qt::QueuedConnection);
    }
}

} // namespace quorvale::ui
