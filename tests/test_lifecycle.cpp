#include "fakeplatform.h"

#include <array>
#include <functional>
#include <string>

using namespace quorvale;
using namespace quorvale::testing;

namespace {

constexpr Point start{5760, 240};

constexpr std::array<Element, 4> options = {Element::optred, Element::optgreen, Element::optblue,
                                            Element::optyellow};

// Everything a reset may or may not touch, read through the public accessors.
struct Snapshot
{
    float youLeft;
    float youTop;
    bool timer1;
    bool timer2;
    Colour youFill;
    Colour youBorder;
    ShapeKind youShape;
    Colour backColor;
    Colour boardFill;
    Colour boardBorder;
    std::array<bool, 4> optionVisible;
    std::array<bool, 4> optionValue;
    bool startEnabled;
    bool startVisible;
    bool cheatVisible;
    bool frameVisible;
    float ball1Top;
    float ball2Top;
    FormVariables variables;
    std::string cheatText;
    std::string about;
};

Snapshot snapshot(const Maze &m)
{
    Snapshot s{};
    const ShapeElement &you = m.shape(Element::shpyou);
    s.youLeft = you.left();
    s.youTop = you.top();
    s.timer1 = m.timer(Element::Timer1).enabled();
    s.timer2 = m.timer(Element::Timer2).enabled();
    s.youFill = you.fillColor();
    s.youBorder = you.borderColor();
    s.youShape = you.shape();
    s.backColor = m.form().backColor();
    s.boardFill = m.shape(Element::shpborder).fillColor();
    s.boardBorder = m.shape(Element::shpborder).borderColor();
    for (std::size_t i = 0; i < options.size(); ++i) {
        s.optionVisible[i] = m.option(options[i]).visible();
        s.optionValue[i] = m.option(options[i]).value();
    }
    s.startEnabled = m.control(Element::cmdstart).enabled();
    s.startVisible = m.control(Element::cmdstart).visible();
    s.cheatVisible = m.cheatBox().visible();
    s.frameVisible = m.control(Element::fraborder).visible();
    s.ball1Top = m.shape(Element::shpball1).top();
    s.ball2Top = m.shape(Element::shpball2).top();
    s.variables = m.variables();
    s.cheatText = m.cheatBox().text();
    s.about = m.label().caption();
    return s;
}

void expectSnapshot(const Snapshot &actual, const Snapshot &expected)
{
#define QV_EXPECT_FIELD(f) EXPECT_EQ(actual.f, expected.f) << #f
    QV_EXPECT_FIELD(youLeft);
    QV_EXPECT_FIELD(youTop);
    QV_EXPECT_FIELD(timer1);
    QV_EXPECT_FIELD(timer2);
    QV_EXPECT_FIELD(youFill);
    QV_EXPECT_FIELD(youBorder);
    QV_EXPECT_FIELD(youShape);
    QV_EXPECT_FIELD(backColor);
    QV_EXPECT_FIELD(boardFill);
    QV_EXPECT_FIELD(boardBorder);
    QV_EXPECT_FIELD(optionVisible);
    QV_EXPECT_FIELD(optionValue);
    QV_EXPECT_FIELD(startEnabled);
    QV_EXPECT_FIELD(startVisible);
    QV_EXPECT_FIELD(cheatVisible);
    QV_EXPECT_FIELD(frameVisible);
    QV_EXPECT_FIELD(ball1Top);
    QV_EXPECT_FIELD(ball2Top);
    QV_EXPECT_FIELD(variables);
    QV_EXPECT_FIELD(cheatText);
    QV_EXPECT_FIELD(about);
#undef QV_EXPECT_FIELD
}

// A game in which every property a reset writes holds something other than what it writes,
// and everything a reset keeps holds something other than its creation value.
void makeEverythingDiffer(Game &game, bool startPlay, Clickable borderOption, Point piece)
{
    for (int i = 0; i < 5; ++i)
        game.maze.tick(Element::Timer1);
    for (int i = 0; i < 3; ++i)
        game.maze.tick(Element::Timer2);
    game.maze.editText("gusto"); // green outline, which no reset undoes
    game.maze.editText("iceclock");
    ASSERT_EQ(game.maze.cheatBox().text(), " ");
    game.maze.click(borderOption);
    game.maze.click(Clickable::mnueditballred);
    game.maze.click(Clickable::mnueditbackorange);
    game.maze.click(Clickable::mnueditshapesquare);
    game.maze.click(Clickable::mnuhelpabout);
    if (startPlay)
        game.maze.click(Clickable::cmdstart);
    ASSERT_TRUE(game.walkTo(piece));
    ASSERT_TRUE(game.platform.boxes().empty());
}

FormVariables recordedAt(FormVariables v, Point p)
{
    v.youleft = static_cast<std::int16_t>(p.left);
    v.youright = static_cast<std::int16_t>(p.left + 375);
    v.youtop = static_cast<std::int16_t>(p.top);
    v.youbottom = static_cast<std::int16_t>(p.top + 375);
    return v;
}

void expectSetupPhase(Snapshot &s)
{
    s.optionVisible = {true, true, true, true};
    s.startEnabled = true;
    s.startVisible = true;
    s.cheatVisible = true;
    s.frameVisible = true;
}

const std::vector<ChangeNotice> startOverWrites = {
    {Element::shpyou, Property::Left},       {Element::shpyou, Property::Top},
    {Element::Timer1, Property::Enabled},    {Element::Timer2, Property::Enabled},
    {Element::shpyou, Property::FillColor},  {Element::optred, Property::Visible},
    {Element::optblue, Property::Visible},   {Element::optgreen, Property::Visible},
    {Element::optyellow, Property::Visible}, {Element::cmdstart, Property::Enabled},
    {Element::cmdstart, Property::Visible},  {Element::txtcheat, Property::Visible},
    {Element::fraborder, Property::Visible},
};

const std::vector<ChangeNotice> playAgainWrites = {
    {Element::shpyou, Property::Left},           {Element::shpyou, Property::Top},
    {Element::Timer1, Property::Enabled},        {Element::Timer2, Property::Enabled},
    {Element::shpyou, Property::FillColor},      {Element::shpborder, Property::FillColor},
    {Element::shpborder, Property::BorderColor}, {Element::optred, Property::Visible},
    {Element::optblue, Property::Visible},       {Element::optgreen, Property::Visible},
    {Element::optyellow, Property::Visible},     {Element::cmdstart, Property::Enabled},
    {Element::cmdstart, Property::Visible},      {Element::txtcheat, Property::Visible},
    {Element::fraborder, Property::Visible},
};

std::vector<ChangeNotice> withoutTop(std::vector<ChangeNotice> writes)
{
    std::erase(writes, ChangeNotice{Element::shpyou, Property::Top});
    return writes;
}

TEST(Lifecycle, EachProcedureSetsExactlyItsShareOfTheReset)
{
    struct Row
    {
        const char *procedure;
        bool startPlayFirst;
        Clickable borderOption;
        Point piece;
        std::function<void(Game &)> act;
        std::vector<MessageBoxShown> boxes;
        std::vector<ChangeNotice> writes; // in order; the window's BackColor never differs
        std::function<void(Snapshot &)> changes;
    };
    const std::vector<ChangeNotice> playAgainWritesWithTopUnchanged = withoutTop(playAgainWrites);
    const Row rows[] = {
        {"cmdstart_Click",
         false,
         Clickable::optyellow,
         {5560, 440},
         [](Game &g) { g.maze.click(Clickable::cmdstart); },
         {},
         {
             {Element::cmdstart, Property::Visible},
             {Element::cmdstart, Property::Enabled},
             {Element::optblue, Property::Visible},
             {Element::optgreen, Property::Visible},
             {Element::optred, Property::Visible},
             {Element::optyellow, Property::Visible},
             {Element::txtcheat, Property::Visible},
             {Element::fraborder, Property::Visible},
             {Element::optyellow, Property::Value},
         },
         [](Snapshot &s) {
             s.optionVisible = {false, false, false, false};
             s.optionValue[3] = false;
             s.startEnabled = false;
             s.startVisible = false;
             s.cheatVisible = false;
             s.frameVisible = false;
         }},
        {"mnufilestart_Click",
         true,
         Clickable::optblue,
         {5560, 440},
         [](Game &g) { g.maze.click(Clickable::mnufilestart); },
         {},
         startOverWrites,
         [](Snapshot &s) {
             s.youLeft = 5760;
             s.youTop = 240;
             s.timer1 = s.timer2 = true;
             s.youFill = Colour{0x0000FF00};
             s.backColor = Colour{0x00000080};
             expectSetupPhase(s);
         }},
        {"LoseGame answered Yes",
         true,
         Clickable::optblue,
         {5560, 440}, // the corner lies in shp4
         [](Game &g) { g.maze.keyDown(keySpace); },
         {gameOverBox, gameOverBox},
         playAgainWrites,
         [](Snapshot &s) {
             s.youLeft = 5760;
             s.youTop = 240;
             s.timer1 = s.timer2 = true;
             s.youFill = Colour{0x0000FF00};
             s.backColor = Colour{0x00000080};
             s.boardFill = Colour{0x80000000};
             s.boardBorder = Colour{0x00000000};
             expectSetupPhase(s);
             s.variables = recordedAt(s.variables, {5560, 440}); // the key press, not the reset
         }},
        {"WinGame answered Yes",
         true,
         Clickable::optblue,
         {6960, 240}, // every winning corner with another top lies in shp4 too
         [](Game &g) { g.maze.keyDown(keySpace); },
         {youWinBox, youWinBox},
         playAgainWritesWithTopUnchanged,
         [](Snapshot &s) {
             s.youLeft = 5760;
             s.youTop = 240;
             s.timer1 = s.timer2 = true;
             s.youFill = Colour{0x0000FF00};
             s.backColor = Colour{0x00000080};
             s.boardFill = Colour{0x80000000};
             s.boardBorder = Colour{0x00000000};
             expectSetupPhase(s);
             s.variables = recordedAt(s.variables, {6960, 240});
         }},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.procedure);
        Game game;
        makeEverythingDiffer(game, row.startPlayFirst, row.borderOption, row.piece);
        Snapshot expected = snapshot(game.maze);
        row.changes(expected);
        game.platform.forgetNotices();

        row.act(game);

        EXPECT_EQ(game.platform.boxes(), row.boxes);
        EXPECT_EQ(game.platform.notices(), row.writes);
        expectSnapshot(snapshot(game.maze), expected);
        EXPECT_FALSE(game.maze.ended());
    }
}

// Puts the game in front of a question: the next Space asks it.
struct Question
{
    const char *name;
    MessageBoxShown box;
    std::function<void(Game &)> prepare;
};

const Question questions[] = {
    {"LoseGame", gameOverBox,
     [](Game &g) {
         g.maze.keyDown(vbKeyUp);
     }},
    {"WinGame", youWinBox,
     [](Game &g) {
         ASSERT_TRUE(g.walkTo({6960, 240}));
     }},
};

TEST(Lifecycle, QuestionIsAskedTwiceAndOnlyTheSecondAnswerCounts)
{
    struct Row
    {
        MsgBoxResult first;
        MsgBoxResult second;
        bool ends;
    };
    const Row rows[] = {
        {Yes, Yes, false},
        {No, Yes, false},
        {Yes, No, true},
        {No, No, true},
    };
    for (const Question &q : questions) {
        for (const Row &row : rows) {
            SCOPED_TRACE(::testing::Message()
                         << q.name << " answered " << static_cast<int>(row.first) << ", "
                         << static_cast<int>(row.second));
            Game game;
            game.maze.click(Clickable::cmdstart);
            q.prepare(game);
            const Point before = game.piecePosition();
            game.platform.answer({row.first, row.second});
            game.maze.keyDown(keySpace);

            EXPECT_EQ(game.platform.boxes(), (std::vector{q.box, q.box}));
            EXPECT_EQ(game.maze.ended(), row.ends);
            EXPECT_EQ(game.platform.endCalls(), row.ends ? 1 : 0);
            EXPECT_FALSE(game.platform.runtimeErrorRaised());
            EXPECT_EQ(game.piecePosition(), row.ends ? before : start);
            EXPECT_EQ(game.maze.control(Element::cmdstart).visible(), !row.ends);
        }
    }
}

TEST(Lifecycle, AfterTheProgramEndsNoEventReachesTheGame)
{
    struct Ending
    {
        const char *how;
        std::function<void(Game &)> end;
        std::size_t boxes;
    };
    const Ending endings[] = {
        {"No to GAME OVER",
         [](Game &g) {
             g.maze.keyDown(vbKeyUp);
             g.platform.answer({No, No});
             g.maze.keyDown(keySpace);
         },
         2},
        {"Quit", [](Game &g) { EXPECT_TRUE(g.maze.click(Clickable::mnufilequit)); }, 0},
        {"closing the window", [](Game &g) { g.maze.close(); }, 0},
    };
    for (const Ending &e : endings) {
        SCOPED_TRACE(e.how);
        Game game;
        game.maze.tick(Element::Timer1);
        e.end(game);
        ASSERT_TRUE(game.maze.ended());
        EXPECT_EQ(game.platform.endCalls(), 1);
        EXPECT_EQ(game.platform.boxes().size(), e.boxes);
        game.platform.forgetNotices();
        const float ball1 = game.maze.shape(Element::shpball1).top();

        EXPECT_FALSE(game.maze.keyDown(vbKeyDown));
        EXPECT_FALSE(game.maze.tick(Element::Timer1));
        EXPECT_FALSE(game.maze.tick(Element::Timer2));
        EXPECT_FALSE(game.maze.click(Clickable::mnufilestart));
        EXPECT_FALSE(game.maze.click(Clickable::mnuhelpabout));
        EXPECT_FALSE(game.maze.click(Clickable::cmdstart));
        EXPECT_FALSE(game.maze.editText("gusto"));
        game.maze.close();

        EXPECT_TRUE(game.platform.notices().empty());
        EXPECT_EQ(game.maze.shape(Element::shpball1).top(), ball1);
        EXPECT_EQ(game.platform.boxes().size(), e.boxes);
        EXPECT_EQ(game.platform.endCalls(), 1);
    }
}

TEST(Lifecycle, QuitEndsAtOnceWithoutAskingEvenWhileBallsMove)
{
    Game game;
    game.maze.tick(Element::Timer2);
    game.maze.click(Clickable::cmdstart);
    EXPECT_TRUE(game.maze.click(Clickable::mnufilequit));
    EXPECT_TRUE(game.maze.ended());
    EXPECT_TRUE(game.platform.boxes().empty());
    EXPECT_EQ(game.platform.endCalls(), 1);
    EXPECT_FALSE(game.maze.tick(Element::Timer2));
}

struct OptionRow
{
    Clickable click;
    Element element;
    Colour border;
};
constexpr OptionRow optionRows[] = {
    {Clickable::optred, Element::optred, Colour{0x000000FF}},
    {Clickable::optgreen, Element::optgreen, Colour{0x0000FF00}},
    {Clickable::optblue, Element::optblue, Colour{0x00FF0000}},
    {Clickable::optyellow, Element::optyellow, Colour{0x0000FFFF}},
};

TEST(Lifecycle, ChoosingABorderOptionSelectsItAloneAndColoursTheBorder)
{
    Game game;
    // Every order of two choices, so each button is seen clearing each other one.
    for (const OptionRow &first : optionRows) {
        for (const OptionRow &second : optionRows) {
            SCOPED_TRACE(::testing::Message()
                         << name(first.element) << " then " << name(second.element));
            ASSERT_TRUE(game.maze.click(first.click));
            EXPECT_EQ(game.maze.shape(Element::shpborder).borderColor(), first.border);
            ASSERT_TRUE(game.maze.click(second.click));
            EXPECT_EQ(game.maze.shape(Element::shpborder).borderColor(), second.border);
            for (const Element e : options)
                EXPECT_EQ(game.maze.option(e).value(), e == second.element) << name(e);
        }
    }
    EXPECT_TRUE(game.platform.boxes().empty());
}

TEST(Lifecycle, ClickingTheSelectedOptionRunsItsClickAgain)
{
    Game game;
    game.maze.click(Clickable::optred);
    game.maze.keyDown(vbKeyUp);
    game.maze.keyDown(keySpace); // lost: the border turns black, the selection stays
    ASSERT_EQ(game.maze.shape(Element::shpborder).borderColor(), Colour{0x00000000});
    ASSERT_TRUE(game.maze.option(Element::optred).value());

    EXPECT_TRUE(game.maze.click(Clickable::optred));
    EXPECT_EQ(game.maze.shape(Element::shpborder).borderColor(), Colour{0x000000FF});
    EXPECT_TRUE(game.maze.option(Element::optred).value());
}

TEST(Lifecycle, HiddenControlsTakeNoClick)
{
    Game game;
    game.maze.click(Clickable::optgreen);
    ASSERT_TRUE(game.maze.click(Clickable::cmdstart));
    game.platform.forgetNotices();

    for (const OptionRow &row : optionRows) {
        EXPECT_FALSE(game.maze.canClick(row.click)) << name(row.element);
        EXPECT_FALSE(game.maze.click(row.click)) << name(row.element);
    }
    EXPECT_FALSE(game.maze.canClick(Clickable::cmdstart));
    EXPECT_FALSE(game.maze.click(Clickable::cmdstart));
    EXPECT_TRUE(game.platform.notices().empty());
    EXPECT_EQ(game.maze.shape(Element::shpborder).borderColor(), Colour{0x0000FF00});
    EXPECT_TRUE(game.maze.option(Element::optgreen).value());

    // The menus stay available during play.
    EXPECT_TRUE(game.maze.canClick(Clickable::mnueditbackyellow));
    EXPECT_TRUE(game.maze.click(Clickable::mnueditbackyellow));
}

TEST(Lifecycle, StartingWithYellowSelectedLeavesNoneSelectedAndTheBorderYellow)
{
    Game game;
    game.maze.click(Clickable::optyellow);
    game.maze.click(Clickable::cmdstart);
    for (const Element e : options)
        EXPECT_FALSE(game.maze.option(e).value()) << name(e);
    EXPECT_EQ(game.maze.shape(Element::shpborder).borderColor(), Colour{0x0000FFFF});

    Game other;
    other.maze.click(Clickable::optblue);
    other.maze.click(Clickable::cmdstart);
    EXPECT_TRUE(other.maze.option(Element::optblue).value()) << "only yellow is cleared";
}

TEST(Lifecycle, BorderColourSurvivesStartOverButNotAPlayAgain)
{
    Game game;
    game.maze.click(Clickable::optblue);
    game.maze.click(Clickable::mnueditbackorange);
    game.maze.click(Clickable::cmdstart);
    game.maze.click(Clickable::mnufilestart);
    EXPECT_EQ(game.maze.shape(Element::shpborder).borderColor(), Colour{0x00FF0000});
    EXPECT_EQ(game.maze.shape(Element::shpborder).fillColor(), Colour{0x000080FF});

    game.maze.click(Clickable::cmdstart);
    game.maze.keyDown(vbKeyUp);
    game.maze.keyDown(keySpace);
    EXPECT_EQ(game.maze.shape(Element::shpborder).borderColor(), Colour{0x00000000});
    EXPECT_EQ(game.maze.shape(Element::shpborder).fillColor(), Colour{0x80000000});
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
    const auto read = [](const Maze &m, Element e, Property p) -> std::uint32_t {
        const ShapeElement &s = m.shape(e);
        if (p == Property::Shape)
            return static_cast<std::uint32_t>(s.shape());
        return s.fillColor().value();
    };
    for (const bool playStarted : {false, true}) {
        for (const Row &row : rows) {
            SCOPED_TRACE(::testing::Message()
                         << name(row.item) << (playStarted ? " during play" : " before play"));
            Game game;
            if (row.before)
                game.maze.click(*row.before);
            if (playStarted)
                game.maze.click(Clickable::cmdstart);
            game.platform.forgetNotices();
            EXPECT_TRUE(game.maze.click(row.item));
            EXPECT_EQ(read(game.maze, row.element, row.property), row.value);
            EXPECT_EQ(game.platform.notices(),
                      (std::vector<ChangeNotice>{{row.element, row.property}}));
            // Choosing it again changes nothing.
            EXPECT_TRUE(game.maze.click(row.item));
            EXPECT_EQ(game.platform.notices().size(), 1U);
        }
    }
}

TEST(Lifecycle, ShapeChoiceSurvivesEveryReset)
{
    Game game;
    game.maze.click(Clickable::mnueditshapers);
    game.maze.click(Clickable::mnufilestart);
    game.maze.keyDown(vbKeyUp);
    game.maze.keyDown(keySpace);
    ASSERT_EQ(game.losses(), 1);
    EXPECT_EQ(game.maze.shape(Element::shpyou).shape(), ShapeKind::RoundedSquare);
}

TEST(Lifecycle, AboutShowsTheHelpTextExactlyAndNothingClearsIt)
{
    const std::string expected = " Quorvale Programmed By Tamberlin,    HOW TO PLAY: use The arrow "
                                 "Keys To move ,    watch out the black balls and walls,      "
                                 "Make It To the Pink ball to win  ";
    Game game;
    game.maze.click(Clickable::mnuhelpabout);
    EXPECT_EQ(game.maze.label().caption(), expected);
    EXPECT_TRUE(game.maze.label().caption().starts_with(" Quorvale"));
    EXPECT_TRUE(game.maze.label().caption().ends_with("win  "));

    game.platform.forgetNotices();
    game.maze.click(Clickable::mnuhelpabout);
    EXPECT_TRUE(game.platform.notices().empty()) << "choosing About again changes nothing";

    game.maze.click(Clickable::cmdstart);
    game.maze.click(Clickable::mnufilestart);
    game.maze.keyDown(vbKeyUp);
    game.maze.keyDown(keySpace);
    ASSERT_EQ(game.losses(), 1);
    EXPECT_EQ(game.maze.label().caption(), expected);
    EXPECT_TRUE(game.maze.timer(Element::Timer1).enabled());
}

} // namespace
