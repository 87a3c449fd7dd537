// The times the page shows below the game: the game in play, the last one finished, and what
// the page needs to keep the best one (its time and whether it beats another).

#include "timing.h"

#include "json.h"
#include "stopwatch.h"

#include <emscripten.h>

#include <cstdint>
#include <string>

namespace quorvale::web {

script::Stopwatch &stopwatch()
{
    static script::Stopwatch watch;
    return watch;
}

std::unique_ptr<script::Race> &race()
{
    static std::unique_ptr<script::Race> running;
    return running;
}

namespace {

std::string &text()
{
    static std::string t;
    return t;
}

script::GameTime gameTime(int ticks, int cheat)
{
    return {static_cast<std::uint32_t>(ticks), script::GameEnd::Won, cheat != 0};
}

} // namespace

} // namespace quorvale::web

using namespace quorvale;

extern "C" {

// {"games": n, "running": ticks of the game in play or null, "runningText": "3.2 s" or null,
//  "last": the last finished game as {"text", "won", "ticks", "cheat", "seconds"} or null}.
EMSCRIPTEN_KEEPALIVE const char *qv_times_json()
{
    const auto &games = web::stopwatch().games();
    const bool inPlay = web::stopwatch().inPlay();
    web::JsonWriter json;
    json.beginObject().key("games").number(static_cast<long long>(games.size()));
    json.key("running");
    if (inPlay)
        json.number(games.back().ticks);
    else
        json.null();
    json.key("runningText");
    if (inPlay)
        json.string(script::runningSeconds(games.back().ticks));
    else
        json.null();
    json.key("last");
    const std::size_t finished = games.size() - (inPlay ? 1 : 0);
    if (finished == 0) {
        json.null();
    } else {
        const script::GameTime &last = games[finished - 1];
        json.beginObject()
            .key("text")
            .string(script::describe(last))
            .key("won")
            .boolean(last.end == script::GameEnd::Won)
            .key("ticks")
            .number(last.ticks)
            .key("cheat")
            .boolean(last.cheat)
            .key("seconds")
            .string(script::seconds(last.ticks))
            .endObject();
    }
    web::text() = json.endObject().take();
    return web::text().c_str();
}

// Whether won game a ranks above won game b.
EMSCRIPTEN_KEEPALIVE int qv_times_ranks_above(int aTicks, int aCheat, int bTicks, int bCheat)
{
    return script::ranksAbove(web::gameTime(aTicks, aCheat), web::gameTime(bTicks, bCheat));
}

} // extern "C"
