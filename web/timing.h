#pragma once

#include "race.h"
#include "stopwatch.h"

#include <memory>

// The page's games timed, and the race the player may run against a ghost. Both outlive "start
// again": the last game of the ended program is still the last finished, and a race goes on with
// the next program. Each session's Play tells them what reaches the rules through a PlayTiming of
// its own, as in every front end; the page reads them through the qv_times_* and qv_race_* entry
// points.
namespace quorvale::web {

script::Stopwatch &stopwatch();
// Empty while no race is run.
std::unique_ptr<script::Race> &race();

} // namespace quorvale::web
