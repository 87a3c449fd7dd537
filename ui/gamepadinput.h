#pragma once

#include "padkeys.h"

#include <QObject>
#include <QTimer>

#include <map>
#include <memory>

struct _SDL_GameController;

namespace quorvale::ui {

// Game controllers, read through SDL's game controller layer, pressing keys in the application:
// each press becomes a key event of the window that has the keyboard focus, which routes it as
// it does the keyboard's own (to the focused control, an open menu or a message box), so every
// rule about keys holds for a pad too. Pads plugged in or pulled out at any time are picked up
// or let go. Where SDL cannot start, there are simply no pads, and nothing is said.
class GamepadInput : public QObject
{
public:
    explicit GamepadInput(QObject *parent = nullptr);
    ~GamepadInput() override;

    bool isRunning() const { return m_running; }

private:
    struct CloseController
    {
        void operator()(_SDL_GameController *controller) const;
    };

    void poll();
    void open(int deviceIndex);
    void post(const std::vector<PadKeyEvent> &events);

    bool m_running = false;
    QTimer m_poll;
    PadKeys m_keys;
    std::map<int, std::unique_ptr<_SDL_GameController, CloseController>> m_controllers;
};

} // namespace quorvale::ui
