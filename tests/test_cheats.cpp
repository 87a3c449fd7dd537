#include "fakeplatform.h"

#include <functional>
#include <string>

using namespace quorvale;
using namespace quorvale::testing;

namespace {

const ChangeNotice textChanged{Element::txtcheat, Property::Text};

TEST(Cheats, EachCodeHasItsEffectsInOrderThenLeavesOneSpace)
{
    struct Row
    {
        const char *code;
        std::vector<ChangeNotice> writes; // the box's own edit first, the space last
        std::function<void(const Maze &)> check;
    };
    const Row rows[] = {
        {"gusto",
         {textChanged,
          {Element::shpyou, Property::FillColor},
          {Element::shpyou, Property::BorderColor},
          textChanged},
         [](const Maze &m) {
             EXPECT_EQ(m.shape(Element::shpyou).fillColor(), Colour{0x0000FFFF});
             EXPECT_EQ(m.shape(Element::shpyou).borderColor(), Colour{0x0000FF00});
         }},
        {"Keen",
         {textChanged,
          {Element::shpborder, Property::FillColor},
          {Element::shpyou, Property::FillColor},
          {Element::shpyou, Property::BorderColor},
          textChanged},
         [](const Maze &m) {
             EXPECT_EQ(m.shape(Element::shpborder).fillColor(), Colour{0x00000040});
             EXPECT_EQ(m.shape(Element::shpyou).fillColor(), Colour{0x00000040});
             EXPECT_EQ(m.shape(Element::shpyou).borderColor(), Colour{0x00FFFFFF});
         }},
        {"skipjump",
         {textChanged,
          {Element::shpyou, Property::Left}, // Top is already 240: no change to tell
          textChanged},
         [](const Maze &m) {
             EXPECT_EQ(m.shape(Element::shpyou).left(), 8640);
             EXPECT_EQ(m.shape(Element::shpyou).top(), 240);
             EXPECT_EQ(m.variables(), FormVariables{}) << "nothing is recorded by the jump";
         }},
        {"iceclock",
         {textChanged,
          {Element::Timer1, Property::Enabled},
          {Element::Timer2, Property::Enabled},
          textChanged},
         [](const Maze &m) {
             EXPECT_FALSE(m.timer(Element::Timer1).enabled());
             EXPECT_FALSE(m.timer(Element::Timer2).enabled());
         }},
        {"ghostlike",
         {textChanged, {Element::shpborder, Property::FillColor}, textChanged},
         [](const Maze &m) {
             EXPECT_EQ(m.shape(Element::shpborder).fillColor(), Colour{0x80000012});
         }},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.code);
        Game game;
        EXPECT_TRUE(game.maze.editText(row.code));
        EXPECT_EQ(game.maze.cheatBox().text(), " ");
        EXPECT_EQ(game.platform.notices(), row.writes);
        row.check(game.maze);
        EXPECT_TRUE(game.platform.boxes().empty());
    }
}

TEST(Cheats, SkipjumpMovesThePieceFromAnywhereOntoTheGoalRow)
{
    Game game;
    game.maze.keyDown(vbKeyDown);
    game.maze.keyDown(vbKeyLeft); // judged (5760, 440), in shp4: back to the start
    ASSERT_EQ(game.losses(), 1);
    game.maze.keyDown(vbKeyRight);
    ASSERT_EQ(game.piecePosition(), (Point{5960, 240}));
    game.maze.editText("skipjump");
    EXPECT_EQ(game.piecePosition(), (Point{8640, 240}));
}

TEST(Cheats, OnlyTheExactTextMatches)
{
    const char *const misses[] = {
        "GUSTO", "Gusto", "gusto ",   " gusto",     "xgusto",     "gust",         "keen",
        "KEEN",  "Keen ", "Skipjump", "iceclock\n", "ghostlike.", "gusto\tgusto", "gustogusto",
    };
    for (const char *text : misses) {
        SCOPED_TRACE(::testing::Message() << '"' << text << '"');
        Game game;
        EXPECT_TRUE(game.maze.editText(text));
        EXPECT_EQ(game.maze.cheatBox().text(), text);
        EXPECT_EQ(game.platform.notices(), (std::vector{textChanged}));
    }
}

TEST(Cheats, TypingACodeMatchesOnlyAtItsLastLetter)
{
    Game game;
    const std::string code = "gusto";
    for (std::size_t i = 1; i < code.size(); ++i) {
        game.maze.editText(code.substr(0, i));
        EXPECT_EQ(game.maze.cheatBox().text(), code.substr(0, i));
        EXPECT_EQ(game.maze.shape(Element::shpyou).fillColor(), Colour{0x0000FF00});
    }
    game.maze.editText(code);
    EXPECT_EQ(game.maze.shape(Element::shpyou).fillColor(), Colour{0x0000FFFF});
    EXPECT_EQ(game.maze.cheatBox().text(), " ");
    // Five edits by the player and one by the code.
    EXPECT_EQ(
        std::count(game.platform.notices().begin(), game.platform.notices().end(), textChanged), 6);
}

TEST(Cheats, CodeTypedRightAfterACodeKeepsTheSpaceAndDoesNotMatch)
{
    Game game;
    game.type("gusto");
    ASSERT_EQ(game.maze.cheatBox().text(), " ");
    game.type("iceclock");
    EXPECT_EQ(game.maze.cheatBox().text(), " iceclock");
    EXPECT_TRUE(game.maze.timer(Element::Timer1).enabled());

    // Once the space is gone, it matches.
    game.maze.editText("iceclock");
    EXPECT_FALSE(game.maze.timer(Element::Timer1).enabled());
    EXPECT_EQ(game.maze.cheatBox().text(), " ");
}

TEST(Cheats, OnlyOneCodeTakesEffectPerChange)
{
    // After a match the box holds " ", so the later codes of the same change, which read the
    // box afresh, find nothing; the nested change for " " matches nothing either.
    Game game;
    game.maze.editText("Keen");
    EXPECT_EQ(game.platform.notices().size(), 5U);
    EXPECT_TRUE(game.maze.timer(Element::Timer1).enabled());
    EXPECT_EQ(game.maze.shape(Element::shpyou).left(), 5760);
}

TEST(Cheats, SettingTheTextItAlreadyHoldsIsNoChange)
{
    Game game;
    EXPECT_TRUE(game.maze.editText("gus"));
    game.platform.forgetNotices();
    EXPECT_FALSE(game.maze.editText("gus"));
    EXPECT_TRUE(game.platform.notices().empty());

    game.maze.editText("gusto");
    game.platform.forgetNotices();
    EXPECT_FALSE(game.maze.editText(" "));
    EXPECT_TRUE(game.platform.notices().empty());
}

TEST(Cheats, BoxIgnoresEditsWhileHiddenAndTakesThemAgainAfterAReset)
{
    Game game;
    game.maze.click(Clickable::cmdstart);
    game.platform.forgetNotices();
    EXPECT_FALSE(game.maze.editText("gusto"));
    EXPECT_EQ(game.maze.cheatBox().text(), "");
    EXPECT_EQ(game.maze.shape(Element::shpyou).fillColor(), Colour{0x0000FF00});
    EXPECT_TRUE(game.platform.notices().empty());

    game.maze.click(Clickable::mnufilestart);
    EXPECT_TRUE(game.maze.editText("gusto"));
    EXPECT_EQ(game.maze.shape(Element::shpyou).fillColor(), Colour{0x0000FFFF});
}

TEST(Cheats, SkipjumpBeforeStartIsWhereTheFirstKeyPressRecords)
{
    Game game;
    game.maze.editText("skipjump");
    game.maze.click(Clickable::cmdstart);
    EXPECT_EQ(game.piecePosition(), (Point{8640, 240})) << "starting play does not move it";
    game.maze.keyDown(vbKeyLeft);
    const FormVariables v = game.maze.variables();
    EXPECT_EQ(v.youleft, 8640);
    EXPECT_EQ(v.youright, 9015);
    EXPECT_EQ(v.youtop, 240);
    EXPECT_EQ(v.youbottom, 615);
    EXPECT_TRUE(game.platform.boxes().empty());

    // Nine steps left in all bring the left edge to 6840, inside the goal.
    for (int i = 0; i < 8; ++i)
        game.maze.keyDown(vbKeyLeft);
    EXPECT_EQ(game.piecePosition(), (Point{6840, 240}));
    EXPECT_TRUE(game.platform.boxes().empty());
    game.maze.keyDown(keySpace);
    EXPECT_EQ(game.platform.boxes(), (std::vector{youWinBox, youWinBox}));
}

TEST(Cheats, IceclockFreezesBothBallsUntilStartOver)
{
    Game game;
    game.maze.tick(Element::Timer1);
    game.maze.tick(Element::Timer2);
    game.maze.editText("iceclock");
    EXPECT_FALSE(game.maze.tick(Element::Timer1));
    EXPECT_FALSE(game.maze.tick(Element::Timer2));

    game.maze.click(Clickable::cmdstart);
    EXPECT_FALSE(game.maze.timer(Element::Timer1).enabled()) << "starting play does not restart";

    game.maze.click(Clickable::mnufilestart);
    EXPECT_TRUE(game.maze.tick(Element::Timer1));
    EXPECT_TRUE(game.maze.tick(Element::Timer2));
    EXPECT_EQ(game.maze.shape(Element::shpball1).top(), 40);
    EXPECT_EQ(game.maze.shape(Element::shpball2).top(), 240);
}

TEST(Cheats, EffectsLastUntilTheResetsThatUndoThem)
{
    struct Row
    {
        const char *what;
        const char *code;
        std::function<void(Game &)> reset;
        Colour boardFill;
        Colour pieceFill;
        Colour pieceBorder;
    };
    const auto startOver = [](Game &g) {
        g.maze.click(Clickable::mnufilestart);
    };
    const auto loseAndPlayOn = [](Game &g) {
        g.maze.keyDown(vbKeyUp);
        g.maze.keyDown(keySpace);
        ASSERT_EQ(g.losses(), 1);
    };
    const Row rows[] = {
        {"ghostlike, Start Over", "ghostlike", startOver, Colour{0x80000012}, Colour{0x0000FF00},
         Colour{0x80000008}},
        {"ghostlike, loss", "ghostlike", loseAndPlayOn, Colour{0x80000000}, Colour{0x0000FF00},
         Colour{0x80000008}},
        {"Keen, Start Over", "Keen", startOver, Colour{0x00000040}, Colour{0x0000FF00},
         Colour{0x00FFFFFF}},
        {"Keen, loss", "Keen", loseAndPlayOn, Colour{0x80000000}, Colour{0x0000FF00},
         Colour{0x00FFFFFF}},
        {"gusto, loss", "gusto", loseAndPlayOn, Colour{0x80000000}, Colour{0x0000FF00},
         Colour{0x0000FF00}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        Game game;
        game.maze.editText(row.code);
        game.maze.click(Clickable::cmdstart);
        row.reset(game);
        EXPECT_EQ(game.maze.shape(Element::shpborder).fillColor(), row.boardFill);
        EXPECT_EQ(game.maze.shape(Element::shpyou).fillColor(), row.pieceFill);
        EXPECT_EQ(game.maze.shape(Element::shpyou).borderColor(), row.pieceBorder);
        EXPECT_EQ(game.maze.cheatBox().text(), " ") << "no reset clears the box";
    }
}

} // namespace
