#include "game.h"

using namespace quorvale;
using namespace quorvale::testing;

namespace {

const ChangeNotice textChanged{Element::txtcheat, Property::Text};

TEST(Cheats, EachCodeWritesItsEffectsInOrderThenOneSpaceThatMatchesNothing)
{
    // The player's edit first and the code's space last; the nested change for the space finds
    // no code, so nothing follows it.
    const std::pair<const char *, std::vector<ChangeNotice>> rows[] = {
        {"gusto",
         {textChanged,
          {Element::shpyou, Property::FillColor},
          {Element::shpyou, Property::BorderColor},
          textChanged}},
        {"Keen",
         {textChanged,
          {Element::shpborder, Property::FillColor},
          {Element::shpyou, Property::FillColor},
          {Element::shpyou, Property::BorderColor},
          textChanged}},
        {"skipjump", {textChanged, {Element::shpyou, Property::Left}, textChanged}},
        {"iceclock",
         {textChanged,
          {Element::Timer1, Property::Enabled},
          {Element::Timer2, Property::Enabled},
          textChanged}},
        {"ghostlike", {textChanged, {Element::shpborder, Property::FillColor}, textChanged}},
    };
    for (const auto &[code, writes] : rows) {
        SCOPED_TRACE(code);
        Game game;
        EXPECT_TRUE(game.maze.editText(code));
        EXPECT_EQ(game.platform.notices, writes);
        EXPECT_EQ(game.maze.cheatBox().text(), " ");
    }
}

TEST(Cheats, OnlyTheExactTextMatchesCaseIncluded)
{
    for (const char *text : {"Gusto", "GUSTO", "keen", "KEEN", "Skipjump", "ICECLOCK", "Ghostlike",
                             " gusto", "gust", "Keen ", "iceclock\n", "gustogusto"}) {
        SCOPED_TRACE(::testing::Message() << '"' << text << '"');
        Game game;
        EXPECT_TRUE(game.maze.editText(text));
        EXPECT_EQ(game.maze.cheatBox().text(), text);
        EXPECT_EQ(game.platform.notices, (std::vector{textChanged}));
    }
}

TEST(Cheats, SettingTheTextTheBoxAlreadyHoldsIsNoChange)
{
    Game game;
    game.maze.editText("gusto");
    game.platform.notices.clear();
    EXPECT_FALSE(game.maze.editText(" "));
    EXPECT_TRUE(game.platform.notices.empty());
}

} // namespace
