#pragma once

// The script driver run on a script held in memory, as `quorvale-script` would run it on a file.

#include "runner.h"

#include <sstream>
#include <string>

namespace quorvale::testing {

struct DriverRun
{
    int status;
    std::string out;
    std::string err;
};

inline DriverRun runDriver(const std::string &script)
{
    std::istringstream in(script);
    std::ostringstream out;
    std::ostringstream err;
    const int status = script::run(in, out, err);
    return {status, out.str(), err.str()};
}

} // namespace quorvale::testing
