#pragma once

#include "play.h"

class QMessageBox;

namespace quorvale::ui {

// Told by the window of what reaches the rules, as every front end's Play tells it; and besides,
// of each message box when it opens. Recording and replay watch the game through this.
class EventObserver : public script::PlayObserver
{
public:
    // Whether the clock must keep ticking while every timer is stopped, so that the time
    // between events still reaches clockTicked(): a recording keeps the game's pace.
    virtual bool keepsTime() const { return false; }

    virtual void boxShown(QMessageBox & /*box*/) {}
};

} // namespace quorvale::ui
