#include "dump.h"

#include "command.h"

#include <array>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <ostream>
#include <string_view>
#include <utility>

namespace quorvale::script {

namespace {

const char *formatBool(bool b)
{
    return b ? "true" : "false";
}

} // namespace

std::string formatColour(Colour c)
{
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "0x%08" PRIX32, c.value());
    return text.data();
}

std::string formatGeometry(float v)
{
    std::array<char, 32> text{};
    if (v == 0.0F)
        return "0"; // never "-0"
    if (std::trunc(v) == v && std::fabs(v) < 1e15F)
        std::snprintf(text.data(), text.size(), "%.0f", static_cast<double>(v));
    else
        std::snprintf(text.data(), text.size(), "%.9g", static_cast<double>(v));
    return text.data();
}

void dump(const Maze &maze, std::ostream &out)
{
    auto line = [&](std::string_view name, const std::string &value) {
        out << name << ' ' << value << '\n';
    };
    const ShapeElement &you = maze.shape(Element::shpyou);
    const ShapeElement &board = maze.shape(Element::shpborder);
    line("frmmaze.BackColor", formatColour(maze.form().backColor()));
    line("shpborder.FillColor", formatColour(board.fillColor()));
    line("shpborder.BorderColor", formatColour(board.borderColor()));
    line("shpyou.Left", formatGeometry(you.left()));
    line("shpyou.Top", formatGeometry(you.top()));
    line("shpyou.Shape", std::to_string(static_cast<int>(you.shape())));
    line("shpyou.FillColor", formatColour(you.fillColor()));
    line("shpyou.BorderColor", formatColour(you.borderColor()));
    line("shpball1.Top", formatGeometry(maze.shape(Element::shpball1).top()));
    line("shpball2.Top", formatGeometry(maze.shape(Element::shpball2).top()));
    line("cmdstart.Visible", formatBool(maze.control(Element::cmdstart).visible()));
    line("cmdstart.Enabled", formatBool(maze.control(Element::cmdstart).enabled()));
    line("txtcheat.Visible", formatBool(maze.cheatBox().visible()));
    line("txtcheat.Text", quoted(maze.cheatBox().text()));
    line("fraborder.Visible", formatBool(maze.control(Element::fraborder).visible()));
    for (const Element e : optionButtons) {
        const std::string prefix(name(e));
        line(prefix + ".Visible", formatBool(maze.option(e).visible()));
        line(prefix + ".Value", formatBool(maze.option(e).value()));
    }
    line("lblabout.Caption", quoted(maze.label().caption()));
    for (const Element timer : timers)
        line(std::string(name(timer)) + ".Enabled", formatBool(maze.timer(timer).enabled()));
    const FormVariables v = maze.variables();
    const std::array<std::pair<std::string_view, std::int16_t>, 10> integers = {{
        {"ball1down", v.ball1down},
        {"ball2down", v.ball2down},
        {"youleft", v.youleft},
        {"youright", v.youright},
        {"youtop", v.youtop},
        {"youbottom", v.youbottom},
        {"goalleft", v.goalleft},
        {"goalright", v.goalright},
        {"goaltop", v.goaltop},
        {"goalbottom", v.goalbottom},
    }};
    for (const auto &[n, value] : integers)
        line(n, std::to_string(value));
    out << "--\n";
}

} // namespace quorvale::script
