// quorvale-script [FILE]: runs the game's rules on a script of events and prints what happens.
#include "runner.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string_view>

int main(int argc, char *argv[])
{
    std::ios::sync_with_stdio(false);
    if (argc > 2) {
        std::cerr << "usage: quorvale-script [FILE]\n";
        return 2;
    }
    const std::string_view path = argc == 2 ? argv[1] : "-";
    if (path == "-")
        return quorvale::script::run(std::cin, std::cout, std::cerr);

    std::error_code ec;
    if (std::filesystem::is_directory(argv[1], ec)) {
        std::cerr << "quorvale-script: cannot read " << path << ": it is a directory\n";
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    if (!file) {
        std::cerr << "quorvale-script: cannot read " << path << ": " << std::strerror(errno)
                  << '\n';
        return 2;
    }
    return quorvale::script::run(file, std::cout, std::cerr);
}
