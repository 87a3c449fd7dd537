#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

namespace quorvale {

// What a code changes: only how the game looks, or how it plays (where the piece stands, whether
// the balls move). A game played after a code of the second kind cannot be timed as a fair one.
enum class CheatKind { Looks, Play };

// The codes the cheat box knows, in the order each change of its text tries them, each with what
// it changes. Each is also the name of what it does (Maze::cheat_gusto, ...), so a new code is one
// row here and one effect.
#define QUORVALE_CHEAT_CODES(X)                                                                    \
    X(gusto, Looks)                                                                                \
    X(Keen, Looks)                                                                                 \
    X(skipjump, Play)                                                                              \
    X(iceclock, Play)                                                                              \
    X(ghostlike, Looks)

struct CheatCode
{
    std::string_view text;
    CheatKind kind;
};

inline constexpr std::array cheatCodeTable = {
#define QUORVALE_CHEAT_CODE_ROW(code, kind) CheatCode{#code, CheatKind::kind},
    QUORVALE_CHEAT_CODES(QUORVALE_CHEAT_CODE_ROW)
#undef QUORVALE_CHEAT_CODE_ROW
};

inline constexpr std::array cheatCodes = {
#define QUORVALE_CHEAT_CODE_TEXT(code, kind) std::string_view(#code),
    QUORVALE_CHEAT_CODES(QUORVALE_CHEAT_CODE_TEXT)
#undef QUORVALE_CHEAT_CODE_TEXT
};

inline constexpr std::size_t maxCheatCodeLength =
    std::max_element(cheatCodes.begin(), cheatCodes.end(),
                     [](auto a, auto b) { return a.size() < b.size(); }) -> size();

// Whether a cheat box whose whole text became `text` has just changed how the game plays.
constexpr bool changesPlay(std::string_view text)
{
    return std::any_of(cheatCodeTable.begin(), cheatCodeTable.end(), [text](const CheatCode &c) {
        return c.kind == CheatKind::Play && c.text == text;
    });
}

} // namespace quorvale
