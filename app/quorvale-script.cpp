// quorvale-script [FILE]: runs the game's rules on a script of events and prints what happens.
#include "runner.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string_view>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

constexpr std::string_view usage = "usage: quorvale-script [FILE]\n";

constexpr std::string_view help =
    "Runs the rules of the Quorvale game on a script of events, with no window, and prints\n"
    "every message box with its answer and the state of the game wherever the script says\n"
    "'dump'. Reads FILE, or standard input when FILE is '-' or missing. A game recorded with\n"
    "'quorvale --record FILE' is such a script.\n"
    "\n"
    "Options:\n"
    "  -h, --help     show this help and exit\n"
    "  -v, --version  show the version and exit\n"
    "\n"
    "Exit status: 0 when the script ran to its end, 1 after a run-time error of the game,\n"
    "2 for a line that is not a command or a FILE that cannot be read.\n";

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
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (!optionsEnded && (arg == "-h" || arg == "--help")) {
            std::cout << usage << '\n' << help;
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
    if (path == "-")
        return quorvale::script::run(std::cin, std::cout, std::cerr);

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
    return quorvale::script::run(in, std::cout, std::cerr);
}
