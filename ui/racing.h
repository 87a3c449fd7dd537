#pragma once

#include "playtiming.h"
#include "race.h"

#include <QString>

#include <memory>

namespace quorvale::ui {

class MainWindow;
class RaceLine;

// A race against a ghost in the window: the ghost's piece on the board, and one more line below
// the board with both times and, at the end, who finished first. Without a race the window has
// neither.
class Racing final
{
public:
    Racing(MainWindow &window, std::unique_ptr<script::Ghost> ghost);
    Racing(const Racing &) = delete;
    Racing &operator=(const Racing &) = delete;
    ~Racing();

    const script::Race &race() const { return m_race; }
    // What the line below the board says.
    QString line() const;

private:
    void show();

    MainWindow &m_window;
    script::Race m_race;
    script::PlayTiming m_timing;
    RaceLine *m_line = nullptr;
};

} // namespace quorvale::ui
