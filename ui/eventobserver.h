#pragma once

#include "clickable.h"
#include "elementid.h"
#include "platform.h"

#include <cstdint>
#include <string_view>

class QMessageBox;

namespace quorvale::ui {

// Told by the window of what reaches the rules, in the order it reaches them, each event right
// after the rules have handled it; and of each message box, when it opens and when it is
// answered (which happens during the event that opened it). Recording and replay watch the game
// through this.
class EventObserver
{
public:
    virtual ~EventObserver() = default;

    // Whether the clock must keep ticking while every timer is stopped, so that the time
    // between events still reaches clockTickDelivered(): a recording keeps the game's pace.
    virtual bool keepsTime() const { return false; }

    virtual void keyDelivered(std::int16_t /*keyCode*/) {}
    virtual void clickDelivered(Clickable /*target*/) {}
    virtual void textDelivered(std::string_view /*text*/) {}
    // One tick of the clock: to every timer in the list's order, as far as each runs.
    virtual void clockTickDelivered() {}
    // One timer alone (tests step time this way).
    virtual void timerTickDelivered(Element /*timer*/) {}
    // The window was closed; `boxOpen` if a message box was open at the time.
    virtual void closeDelivered(bool /*boxOpen*/) {}
    virtual void boxOpened(QMessageBox & /*box*/) {}
    virtual void boxAnswered(MsgBoxResult /*answer*/) {}
};

} // namespace quorvale::ui
