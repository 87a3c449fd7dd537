#pragma once

#include "eventobserver.h"

#include <functional>

namespace quorvale::script {
class PlayListener;
}

namespace quorvale::ui {

// Tells a stopwatch or a race what reaches the window's rules, then calls `after`.
class GameTiming final : public EventObserver
{
public:
    explicit GameTiming(script::PlayListener &listener, std::function<void()> after = {});

    // A game's time goes on while every timer is stopped.
    bool keepsTime() const override { return true; }
    void keyDelivered(std::int16_t keyCode) override;
    void clickDelivered(Clickable target) override;
    void textDelivered(std::string_view text) override;
    void clockTickDelivered() override;
    void timerTickDelivered(Element timer) override;
    void closeDelivered(bool boxOpen) override;
    void boxOpened(QMessageBox &box) override;

private:
    void told();

    script::PlayListener &m_listener;
    std::function<void()> m_after;
};

} // namespace quorvale::ui
