#pragma once

#include "ghost.h"
#include "stopwatch.h"

#include <memory>
#include <string>

// The player's game against a ghost: the front end tells it what reaches the player's rules, as
// it would tell a Stopwatch, and it moves the ghost along with the player's clock.
namespace quorvale::script {

class Race final : public PlayListener
{
public:
    explicit Race(std::unique_ptr<Ghost> ghost);

    void clicked(Clickable target) override;
    void cheated() override;
    void clockTicked() override;
    void eventHandled() override;
    void boxOpened(int style) override;

    const Ghost &ghost() const { return *m_ghost; }
    const Stopwatch &stopwatch() const { return m_stopwatch; }
    // What the line below the game says: both times and, once the player's game is over, who
    // finished first and by how much.
    std::string status() const;

private:
    void endOfEvent();

    Stopwatch m_stopwatch;
    std::unique_ptr<Ghost> m_ghost;
    // The player's game ended at a box: once its event is over, the board has been reset.
    bool m_resetAfterEvent = false;
};

} // namespace quorvale::script
