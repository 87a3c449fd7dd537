#pragma once

#include <array>
#include <string_view>

namespace quorvale {

// The codes the cheat box knows, in the order each change of its text tries them. Each is also
// the name of what it does (Maze::cheat_gusto, ...), so a new code is one row here and one effect.
#define QUORVALE_CHEAT_CODES(X)                                                                    \
    X(gusto)                                                                                       \
    X(Keen)                                                                                        \
    X(skipjump)                                                                                    \
    X(iceclock)                                                                                    \
    X(ghostlike)

inline constexpr std::array cheatCodes = {
#define QUORVALE_CHEAT_CODE_TEXT(code) std::string_view(#code),
    QUORVALE_CHEAT_CODES(QUORVALE_CHEAT_CODE_TEXT)
#undef QUORVALE_CHEAT_CODE_TEXT
};

} // namespace quorvale
