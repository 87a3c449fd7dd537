#pragma once

#include "race.h"
#include "stopwatch.h"

#include <memory>

// The page's games timed, and the race the player may run against a ghost. Every session's Play
// tells them what reaches the rules through a PlayTiming, as in every front end; the page reads
// them through the qv_times_* and qv_race_* entry points.
namespace quorvale::web {

class PageTimes final : public script::PlayListener
{
public:
    // Outlives "start again": the last game of the ended program is still the last finished.
    const script::Stopwatch &stopwatch() const { return m_stopwatch; }
    const script::Race *race() const { return m_race.get(); }
    void setRace(std::unique_ptr<script::Race> race) { m_race = std::move(race); }

    void clicked(Clickable target) override;
    void cheated() override;
    void clockTicked() override;
    void clockTicksPassed(std::uint32_t ticks) override;
    void eventHandled() override;
    void boxOpened(int style) override;

private:
    script::Stopwatch m_stopwatch;
    std::unique_ptr<script::Race> m_race;
};

PageTimes &pageTimes();

} // namespace quorvale::web
