// quorvale-script [FILE | LINK]: runs the game's rules on a script of events and prints what
// happens. quorvale-script --link [FILE]: prints the link that replays FILE in the page.
// quorvale-script --times [FILE | LINK]: prints the time of each game the script plays.
#include "link.h"
#include "reader.h"
#include "runner.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

constexpr std::string_view usage = "usage: quorvale-script [FILE | LINK]\n"
                                   "       quorvale-script --times [FILE | LINK]\n"
                                   "       quorvale-script --link [FILE] [--base URL]\n";

constexpr std::string_view help =
    "Runs the rules of the Quorvale game on a script of events, with no window, and prints\n"
    "every message box with its answer and the state of the game wherever the script says\n"
    "'dump'. Reads FILE, or standard input when FILE is '-' or missing. A game recorded with\n"
    "'quorvale --record FILE' is such a script. A LINK (an address starting with http://,\n"
    "https:// or file:// whose '#r1:' fragment holds a game) is read as its script.\n"
    "\n"
    "Options:\n"
    "  --times        print only one line for each game that began, with its time on the\n"
    "                 clock, from the start button to its first message box: 'game 1: won\n"
    "                 in 12.51 s', 'lost after', 'abandoned after' (Start Over) or 'not\n"
    "                 finished'; '(cheat)' after a game that 'skipjump' or 'iceclock' helped\n"
    "  --link         print the link that replays FILE in the browser page, and exit\n"
    "  --base URL     the page's address in that link (default ";
// The default base is the codec's own, printed between the two parts.
constexpr std::string_view helpEnd =
    ")\n"
    "  -h, --help     show this help and exit\n"
    "  -v, --version  show the version and exit\n"
    "\n"
    "Exit status: 0 when the script ran to its end, 1 after a run-time error of the game,\n"
    "2 for a line that is not a command, a FILE that cannot be read or a LINK that holds no\n"
    "valid script.\n";

int fail(const std::string &message)
{
    std::cerr << "quorvale-script: " << message << '\n';
    return 2;
}

// The whole input, or nothing once it is past what a link can hold.
std::optional<std::string> readAtMost(std::istream &in, std::size_t limit)
{
    std::string text;
    std::string chunk(std::size_t{64} * 1024, '\0');
    while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0) {
        text.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
        if (text.size() > limit)
            return std::nullopt;
    }
    return text;
}

// Prints the link for the script `in` holds, once the whole script reads as one.
int printLink(std::istream &in, std::string_view base)
{
    const auto text = readAtMost(in, quorvale::script::maxLinkText);
    if (in.bad())
        return fail("the input could not be read");
    if (!text)
        return fail("the recording is longer than 16 MiB, more than a link may hold");
    std::istringstream check(*text);
    if (const auto read = quorvale::script::readScript(check);
        const auto *error = std::get_if<quorvale::script::LineError>(&read))
        return fail("line " + std::to_string(error->number) + ": " + error->message);
    const auto link = quorvale::script::makeLink(*text, base);
    if (const auto *error = std::get_if<quorvale::script::LinkError>(&link))
        return fail(error->message);
    std::cout << std::get<std::string>(link) << '\n';
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
#if defined(__GLIBC__)
    // Large buffers (a 16 MiB line, the text it holds) go back to the system as soon as they are
    // freed. With glibc's sliding threshold they would be kept in the heap and add up.
    mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
#endif
    std::ios::sync_with_stdio(false);

    std::string_view path = "-";
    bool haveFile = false;
    bool optionsEnded = false;
    bool makeLink = false;
    bool times = false;
    std::optional<std::string_view> base;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (!optionsEnded && (arg == "-h" || arg == "--help")) {
            std::cout << usage << '\n' << help << quorvale::script::defaultLinkBase << helpEnd;
            return 0;
        }
        if (!optionsEnded && (arg == "-v" || arg == "--version")) {
            std::cout << "quorvale-script " QUORVALE_VERSION "\n";
            return 0;
        }
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && arg == "--link") {
            makeLink = true;
            continue;
        }
        if (!optionsEnded && arg == "--times") {
            times = true;
            continue;
        }
        if (!optionsEnded && arg == "--base") {
            if (i + 1 == argc)
                return fail("--base needs the page's address (see --help)");
            base = argv[++i];
            continue;
        }
        if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            std::cerr << "quorvale-script: unknown option '" << arg << "' (see --help)\n";
            return 2;
        }
        if (haveFile) {
            std::cerr << "quorvale-script: unexpected argument '" << arg
                      << "': only one FILE is read\n";
            return 2;
        }
        path = arg;
        haveFile = true;
    }
    if (base && !makeLink)
        return fail("--base goes only with --link (see --help)");
    if (times && makeLink)
        return fail("--times and --link do not go together (see --help)");
    const auto runScript = [times](std::istream &in) {
        return times ? quorvale::script::printTimes(in, std::cout, std::cerr)
                     : quorvale::script::run(in, std::cout, std::cerr);
    };

    if (!makeLink && quorvale::script::isLink(path)) {
        auto text = quorvale::script::readLink(path);
        if (const auto *error = std::get_if<quorvale::script::LinkError>(&text))
            return fail(error->message);
        std::istringstream in(std::move(std::get<std::string>(text)));
        return runScript(in);
    }
    auto play = [&](std::istream &in) {
        return makeLink ? printLink(in, base.value_or(quorvale::script::defaultLinkBase))
                        : runScript(in);
    };
    if (path == "-")
        return play(std::cin);

    const std::filesystem::path file(path);
    std::error_code ec;
    if (std::filesystem::is_directory(file, ec)) {
        std::cerr << "quorvale-script: cannot read " << path << ": it is a directory\n";
        return 2;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::cerr << "quorvale-script: cannot read " << path << ": " << std::strerror(errno)
                  << '\n';
        return 2;
    }
    return play(in);
}
