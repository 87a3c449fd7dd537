#pragma once

namespace quorvale::script {
class Stopwatch;
}

namespace quorvale::web {

// The page's games timed: webgame.cpp tells it what reaches the rules, as the window's front end
// tells its stopwatch; the page reads it through the qv_times_* entry points.
script::Stopwatch &stopwatch();

} // namespace quorvale::web
