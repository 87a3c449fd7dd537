#pragma once

namespace quorvale::script {
class Stopwatch;
}

namespace quorvale::web {

// The page's games timed: the session's Play tells it what reaches the rules, through a
// PlayTiming as in every front end; the page reads it through the qv_times_* entry points.
script::Stopwatch &stopwatch();

} // namespace quorvale::web
