// Arbitrary bytes as a script: every line through the parser on its own, then the whole input
// through the driver. Nothing may crash, and what comes out must be what a user can read.

#include "runner.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <variant>

namespace {

using namespace quorvale;

[[noreturn]] void violated(std::string_view what)
{
    std::fprintf(stderr, "invariant violated: %.*s\n", static_cast<int>(what.size()), what.data());
    std::abort();
}

bool printable(std::string_view text)
{
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F)
            return false;
    }
    return true;
}

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

void checkLine(std::string_view line)
{
    const auto parsed = script::parseLine(line);
    if (const auto *error = std::get_if<script::ParseError>(&parsed)) {
        // Error messages quote at most 40 bytes of the bad token, each escaped to at most four
        // characters when unprintable.
        if (error->message.empty() || error->message.size() > 320 || !printable(error->message))
            violated("a parse error that cannot be shown as it is");
        return;
    }
    const auto &command = std::get<std::optional<script::Command>>(parsed);
    if (!command)
        return;
    // A string that was read back in quotes reads the same again.
    std::string text;
    if (const auto *t = std::get_if<script::TextCommand>(&*command))
        text = t->text;
    else if (const auto *t = std::get_if<script::TypeCommand>(&*command))
        text = t->text;
    else
        return;
    if (!script::isUtf8(text))
        violated("a string command holds text that is not UTF-8");
    const auto again = script::parseLine("text " + script::quoted(text));
    const auto *cmd = std::get_if<std::optional<script::Command>>(&again);
    if (cmd == nullptr || !*cmd || !std::holds_alternative<script::TextCommand>(**cmd) ||
        std::get<script::TextCommand>(**cmd).text != text)
        violated("a quoted string does not read back as itself");
}

bool knownOutputLine(std::string_view line)
{
    static constexpr std::string_view dumpNames[] = {"frmmaze.BackColor ",
                                                     "shpborder.",
                                                     "shpyou.",
                                                     "shpball1.Top ",
                                                     "shpball2.Top ",
                                                     "cmdstart.",
                                                     "txtcheat.",
                                                     "fraborder.Visible ",
                                                     "optred.",
                                                     "optgreen.",
                                                     "optblue.",
                                                     "optyellow.",
                                                     "lblabout.Caption ",
                                                     "Timer1.Enabled ",
                                                     "Timer2.Enabled ",
                                                     "ball1down ",
                                                     "ball2down ",
                                                     "youleft ",
                                                     "youright ",
                                                     "youtop ",
                                                     "youbottom ",
                                                     "goalleft ",
                                                     "goalright ",
                                                     "goaltop ",
                                                     "goalbottom "};
    if (line == "end" || line == "--" || startsWith(line, "msgbox 52 \"GAME OVER\" ") ||
        startsWith(line, "msgbox 68 \" Congratulations\" "))
        return true;
    for (const std::string_view name : dumpNames) {
        if (startsWith(line, name))
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);

    for (std::size_t start = 0; start <= input.size();) {
        const std::size_t end = std::min(input.find('\n', start), input.size());
        checkLine(input.substr(start, end - start));
        start = end + 1;
    }

    std::istringstream in{std::string(input)};
    std::ostringstream out;
    std::ostringstream err;
    const int status = script::run(in, out, err);

    // By the rules no run-time error is possible, so only 0 and 2 are.
    if (status != 0 && status != 2)
        violated("an exit status other than 0 or 2");
    const std::string errors = err.str();
    if (status == 0 && !errors.empty())
        violated("a message on standard error after a clean run");
    if (status == 2) {
        if (!startsWith(errors, "quorvale-script: line ") || errors.back() != '\n' ||
            errors.find('\n') != errors.size() - 1 ||
            !printable(std::string_view(errors).substr(0, errors.size() - 1)))
            violated("an error that is not one readable line");
    }
    const std::string output = out.str();
    if (!output.empty() && output.back() != '\n')
        violated("output that does not end its last line");
    // After the end only dumps of the state the game ended in may follow: no box opens again.
    std::size_t ends = 0;
    for (std::size_t start = 0; start < output.size();) {
        const std::size_t end = output.find('\n', start);
        const std::string_view line = std::string_view(output).substr(start, end - start);
        if (!knownOutputLine(line))
            violated("an output line of no known kind");
        if (ends > 0 && startsWith(line, "msgbox "))
            violated("a message box after the end of the program");
        ends += line == "end" ? 1 : 0;
        start = end + 1;
    }
    if (ends > 1)
        violated("the program ended twice");
    return 0;
}
