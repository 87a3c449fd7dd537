#include "game.h"
#include "runner.h"

#include <sstream>

using namespace quorvale;
using namespace quorvale::testing;

namespace {

using State = std::map<std::string, std::string>;

// The names and values of the dumps in a script's output, one State per dump.
std::vector<State> dumpsOf(const std::string &script)
{
    std::istringstream in(script);
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(script::run(in, out, err), 0) << err.str();
    std::vector<State> dumps(1);
    std::istringstream lines(out.str());
    for (std::string line; std::getline(lines, line);) {
        if (line == "--")
            dumps.emplace_back();
        else if (!line.starts_with("msgbox "))
            dumps.back().emplace(line.substr(0, line.find(' ')), line.substr(line.find(' ') + 1));
    }
    dumps.pop_back();
    return dumps;
}

State changes(const State &before, const State &after)
{
    State changed;
    for (const auto &[name, value] : after) {
        if (before.at(name) != value)
            changed.emplace(name, value);
    }
    return changed;
}

std::string repeat(const std::string &line, int times)
{
    std::string lines;
    for (int i = 0; i < times; ++i)
        lines += line + "\n";
    return lines;
}

TEST(Lifecycle, EachProcedureSetsExactlyItsShareOfTheReset)
{
    // Every property any reset writes holds another value first, so each write shows as a change
    // (all but the window's BackColor, which nothing else ever sets).
    const std::string differ = repeat("tick Timer1", 5) + repeat("tick Timer2", 3) +
                               "text \"gusto\"\ntext \"iceclock\"\nclick mnueditballred\n"
                               "click mnueditbackorange\nclick mnueditshapesquare\n"
                               "click mnuhelpabout\n";
    const State shownAgain = {
        {"cmdstart.Visible", "true"},       {"cmdstart.Enabled", "true"},
        {"txtcheat.Visible", "true"},       {"fraborder.Visible", "true"},
        {"optred.Visible", "true"},         {"optgreen.Visible", "true"},
        {"optblue.Visible", "true"},        {"optyellow.Visible", "true"},
        {"Timer1.Enabled", "true"},         {"Timer2.Enabled", "true"},
        {"shpyou.FillColor", "0x0000FF00"},
    };
    const auto with = [](State s, const State &more) {
        s.insert(more.begin(), more.end());
        return s;
    };
    const State boardAgain = {{"shpborder.FillColor", "0x80000000"},
                              {"shpborder.BorderColor", "0x00000000"}};
    struct Row
    {
        const char *procedure;
        std::string setup;
        std::string act;
        State changed;
    };
    const Row rows[] = {
        {"cmdstart_Click",
         "click optyellow\nkey 37\nkey 40\n",
         "click cmdstart\n",
         {{"cmdstart.Visible", "false"},
          {"cmdstart.Enabled", "false"},
          {"txtcheat.Visible", "false"},
          {"fraborder.Visible", "false"},
          {"optred.Visible", "false"},
          {"optgreen.Visible", "false"},
          {"optblue.Visible", "false"},
          {"optyellow.Visible", "false"},
          {"optyellow.Value", "false"}}},
        {"mnufilestart_Click", "click optblue\nclick cmdstart\nkey 37\nkey 40\n",
         "click mnufilestart\n",
         with(shownAgain, {{"shpyou.Left", "5760"}, {"shpyou.Top", "240"}})},
        {"LoseGame answered Yes",
         "click optblue\nclick cmdstart\nkey 37\nkey 40\n", // (5560, 440) lies in shp4
         "key 32\n",
         with(with(shownAgain, boardAgain), {{"shpyou.Left", "5760"},
                                             {"shpyou.Top", "240"},
                                             {"youtop", "440"},
                                             {"youbottom", "815"}})},
        {"WinGame answered Yes",
         "click optblue\ntext \"\"\ntext \"skipjump\"\nclick cmdstart\n" + repeat("key 37", 9),
         "key 32\n",
         with(with(shownAgain, boardAgain),
              {{"shpyou.Left", "5760"}, {"youleft", "6840"}, {"youright", "7215"}})},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.procedure);
        const auto dumps = dumpsOf(differ + row.setup + "dump\n" + row.act + "dump\n");
        ASSERT_EQ(dumps.size(), 2U);
        EXPECT_EQ(changes(dumps[0], dumps[1]), row.changed);
    }
}

TEST(Lifecycle, QuestionIsAskedTwiceAndOnlyTheSecondAnswerCounts)
{
    struct Row
    {
        const char *what;
        std::function<void(Game &)> ask;
        MessageBoxShown box;
        MsgBoxResult first;
        MsgBoxResult second;
    };
    const auto lose = [](Game &g) {
        g.maze.keyDown(vbKeyUp);
        g.maze.keyDown(keySpace);
    };
    const auto win = [](Game &g) {
        g.maze.editText("skipjump");
        for (int i = 0; i < 10; ++i)
            g.maze.keyDown(vbKeyLeft);
    };
    const auto twoWalls = [](Game &g) {
        ASSERT_TRUE(g.walkTo({4960, 440}));
        g.maze.keyDown(keySpace);
    };
    const Row rows[] = {
        {"lose, No then Yes", lose, gameOverBox, No, Yes},
        {"lose, Yes then No", lose, gameOverBox, Yes, No},
        {"win, No then Yes", win, youWinBox, No, Yes},
        {"win, Yes then No", win, youWinBox, Yes, No},
        {"two walls, Yes then No: the second wall is never tested", twoWalls, gameOverBox, Yes, No},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        Game game;
        game.platform.answer({row.first, row.second});
        row.ask(game);
        const bool ends = row.second == No;
        EXPECT_EQ(game.platform.boxes, (std::vector{row.box, row.box}));
        EXPECT_EQ(game.maze.ended(), ends);
        EXPECT_EQ(game.platform.endCalls, ends ? 1 : 0);
        EXPECT_EQ(game.piece() == start, !ends) << "reset after Yes only";
    }
}

TEST(Lifecycle, AfterTheProgramEndsNoEventIsDelivered)
{
    const std::pair<const char *, std::function<void(Game &)>> endings[] = {
        {"No to GAME OVER",
         [](Game &g) {
             g.platform.answer({No, No});
             g.maze.keyDown(vbKeyUp);
             g.maze.keyDown(keySpace);
         }},
        {"Quit",
         [](Game &g) {
             g.maze.click(Clickable::mnufilequit);
         }},
        {"closing the window",
         [](Game &g) {
             g.maze.close();
         }},
    };
    for (const auto &[how, end] : endings) {
        SCOPED_TRACE(how);
        Game game;
        end(game);
        ASSERT_TRUE(game.maze.ended());
        const std::size_t boxes = game.platform.boxes.size();
        game.platform.notices.clear();
        EXPECT_FALSE(game.maze.keyDown(vbKeyDown));
        EXPECT_FALSE(game.maze.tick(Element::Timer1));
        EXPECT_FALSE(game.maze.click(Clickable::mnuhelpabout));
        EXPECT_FALSE(game.maze.editText("gusto"));
        game.maze.close();
        EXPECT_TRUE(game.platform.notices.empty());
        EXPECT_EQ(game.platform.boxes.size(), boxes);
        EXPECT_EQ(game.platform.endCalls, 1);
    }
}

constexpr std::array<std::tuple<Clickable, Element, std::uint32_t>, 4> options = {{
    {Clickable::optred, Element::optred, 0x000000FF},
    {Clickable::optgreen, Element::optgreen, 0x0000FF00},
    {Clickable::optblue, Element::optblue, 0x00FF0000},
    {Clickable::optyellow, Element::optyellow, 0x0000FFFF},
}};

TEST(Lifecycle, ChoosingABorderOptionSelectsItAloneAndColoursTheBorder)
{
    Game game;
    for (const auto &[first, firstElement, firstColour] : options) {
        for (const auto &[click, element, colour] : options) {
            SCOPED_TRACE(::testing::Message() << name(firstElement) << " then " << name(element));
            ASSERT_TRUE(game.maze.click(first));
            ASSERT_TRUE(game.maze.click(click));
            EXPECT_EQ(game.maze.shape(Element::shpborder).borderColor().value(), colour);
            for (const auto &[c, e, v] : options)
                EXPECT_EQ(game.maze.option(e).value(), e == element) << name(e);
        }
    }
}

TEST(Lifecycle, ClickingTheSelectedOptionRunsItsClickAgain)
{
    Game game;
    game.maze.click(Clickable::optred);
    game.maze.keyDown(vbKeyUp);
    game.maze.keyDown(keySpace); // lost: the border turns black, the selection stays
    ASSERT_EQ(game.maze.shape(Element::shpborder).borderColor(), colours::black);
    EXPECT_TRUE(game.maze.click(Clickable::optred));
    EXPECT_EQ(game.maze.shape(Element::shpborder).borderColor(), colours::red);
}

TEST(Lifecycle, HiddenOptionsTakeNoClickAndStartingClearsOnlyYellow)
{
    for (const auto &[chosen, chosenElement, colour] : options) {
        SCOPED_TRACE(name(chosenElement));
        Game game;
        game.maze.click(chosen);
        ASSERT_TRUE(game.maze.click(Clickable::cmdstart));
        EXPECT_EQ(game.maze.option(chosenElement).value(), chosen != Clickable::optyellow);
        game.platform.notices.clear();
        for (const auto &[click, element, value] : options)
            EXPECT_FALSE(game.maze.click(click)) << name(element);
        EXPECT_FALSE(game.maze.click(Clickable::cmdstart));
        EXPECT_TRUE(game.platform.notices.empty());
        EXPECT_EQ(game.maze.shape(Element::shpborder).borderColor().value(), colour);
        EXPECT_TRUE(game.maze.click(Clickable::mnueditbackyellow)) << "menus stay available";
    }
}

TEST(Lifecycle, EachAppearanceItemSetsOnePropertyToItsValue)
{
    struct Row
    {
        Clickable item;
        std::optional<Clickable> before; // makes the property differ from the value first
        Element element;
        Property property;
        std::uint32_t value;
    };
    const Row rows[] = {
        {Clickable::mnueditshapesquare, {}, Element::shpyou, Property::Shape, 1},
        {Clickable::mnueditshapecircle, Clickable::mnueditshapesquare, Element::shpyou,
         Property::Shape, 3},
        {Clickable::mnueditshapers, {}, Element::shpyou, Property::Shape, 5},
        {Clickable::mnueditballred, {}, Element::shpyou, Property::FillColor, 0x000000FF},
        {Clickable::mnueditballblue, {}, Element::shpyou, Property::FillColor, 0x00FF0000},
        {Clickable::mnueditballgreen, Clickable::mnueditballred, Element::shpyou,
         Property::FillColor, 0x0000FF00},
        {Clickable::mnueditbackyellow, {}, Element::shpborder, Property::FillColor, 0x0000FFFF},
        {Clickable::mnueditbackorange, {}, Element::shpborder, Property::FillColor, 0x000080FF},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(name(row.item));
        Game game;
        if (row.before)
            game.maze.click(*row.before);
        game.platform.notices.clear();
        EXPECT_TRUE(game.maze.click(row.item));
        const ShapeElement &s = game.maze.shape(row.element);
        EXPECT_EQ(row.property == Property::Shape ? static_cast<std::uint32_t>(s.shape())
                                                  : s.fillColor().value(),
                  row.value);
        EXPECT_EQ(game.platform.notices, (std::vector<ChangeNotice>{{row.element, row.property}}));
    }
}

TEST(Lifecycle, AboutShowsTheHelpTextExactly)
{
    Game game;
    EXPECT_TRUE(game.maze.click(Clickable::mnuhelpabout));
    EXPECT_EQ(game.maze.label().caption(),
              " Quorvale Programmed By Tamberlin,    HOW TO PLAY: use The arrow Keys To move ,    "
              "watch out the black balls and walls,      Make It To the Pink ball to win  ");
}

} // namespace
