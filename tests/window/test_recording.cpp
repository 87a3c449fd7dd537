// Recording and replay in the window: a game played in the window and recorded replays in the
// script driver exactly, and a script replayed in the window ends where the driver ends.
#include "driver.h"
#include "dump.h"
#include "gamerecording.h"
#include "reader.h"
#include "replayer.h"
#include "route.h"
#include "runner.h"
#include "windowtest.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <fstream>
#include <random>
#include <sstream>

namespace quorvale::ui::test {
namespace {

using quorvale::testing::DriverRun;
using quorvale::testing::runDriver;

// The boxes of a driver's output, as `"TITLE" "PROMPT" -> ANSWER`, and its last dump.
std::vector<std::string> boxesOf(const std::string &output)
{
    std::vector<std::string> boxes;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("msgbox ", 0) == 0)
            boxes.push_back(line.substr(line.find(' ', 7) + 1));
    }
    return boxes;
}

std::string withoutBoxes(const std::string &output)
{
    std::string kept;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("msgbox ", 0) != 0 && line != "end")
            kept += line + '\n';
    }
    return kept;
}

std::string lastDump(const std::string &output)
{
    const std::size_t start = output.rfind("frmmaze.BackColor ");
    return start == std::string::npos ? std::string() : output.substr(start);
}

std::string quotedQ(const QString &s)
{
    return script::quoted(s.toStdString());
}

// The player in front of the boxes: answers each at random, and notes it as the driver prints it.
class RandomAnswerer : public QObject
{
public:
    explicit RandomAnswerer(std::mt19937 &random) : m_random(random)
    {
        connect(&m_poll, &QTimer::timeout, this, &RandomAnswerer::poll);
        m_poll.start(2);
    }
    std::vector<std::string> seen;

private:
    void poll()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        const bool yes = std::uniform_int_distribution<int>(0, 99)(m_random) < 90;
        seen.push_back(quotedQ(box->windowTitle()) + ' ' + quotedQ(box->text()) + " -> " +
                       (yes ? "yes" : "no"));
        box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
    }

    QTimer m_poll;
    std::mt19937 &m_random;
};

class Recording : public WindowTest
{
protected:
    // One random action of a player at the window.
    void act(std::mt19937 &random)
    {
        const auto pick = [&random](int n) {
            return std::uniform_int_distribution<int>(0, n - 1)(random);
        };
        MainWindow &window = *m_window;
        const int r = pick(100);
        if (r < 35) {
            const int ticks = 1 + pick(30);
            for (int i = 0; i < ticks && !maze().ended(); ++i)
                window.tickClock();
        } else if (r < 65) {
            static constexpr std::array keys = {Qt::Key_Left, Qt::Key_Up,    Qt::Key_Right,
                                                Qt::Key_Down, Qt::Key_Space, Qt::Key_A};
            press(keys[static_cast<std::size_t>(pick(keys.size()))]);
        } else if (r < 72) {
            if (maze().control(Element::cmdstart).visible())
                clickStart();
        } else if (r < 80) {
            static constexpr std::array menus = {"mnufilestart",    "mnueditshapesquare",
                                                 "mnueditballblue", "mnueditbackyellow",
                                                 "mnuhelpabout",    "mnufilequit"};
            const char *name = menus[static_cast<std::size_t>(pick(menus.size()))];
            if (std::string_view(name) != "mnufilequit" || pick(10) == 0)
                child<QAction>(name)->trigger();
        } else if (r < 86) {
            if (maze().control(Element::fraborder).visible()) {
                static constexpr std::array options = {"optred", "optgreen", "optblue",
                                                       "optyellow"};
                QTest::mouseClick(
                    child<QRadioButton>(options[static_cast<std::size_t>(pick(options.size()))]),
                    Qt::LeftButton);
            }
        } else if (r < 94) {
            if (maze().cheatBox().visible()) {
                static constexpr std::array texts = {"gusto", "ice", "clock", "Keen", "x"};
                auto *box = child<QLineEdit>("txtcheat");
                if (pick(3) == 0)
                    QTest::keyClick(box, Qt::Key_Backspace);
                else
                    QTest::keyClicks(box, texts[static_cast<std::size_t>(pick(texts.size()))]);
            }
        } else if (r < 98) {
            // A walk to the goal from the start, with the board's focus.
            if (!maze().control(Element::cmdstart).visible() &&
                maze().shape(Element::shpyou).left() == layout::shpyou.left &&
                maze().shape(Element::shpyou).top() == layout::shpyou.top) {
                for (const std::int16_t key : quorvale::testing::routeToGoal())
                    press(static_cast<Qt::Key>(Qt::Key_Left + (key - vbKeyLeft)));
            }
        } else if (pick(8) == 0) {
            window.close();
        }
    }
};

TEST_F(Recording, RandomPlayInTheWindowReplaysInTheDriverExactly)
{
    int wins = 0;
    int losses = 0;
    for (unsigned seed = 1; seed <= 6; ++seed) {
        std::mt19937 random(seed);
        MainWindow &window = openWindow();
        auto stream = std::make_unique<std::ostringstream>();
        std::ostringstream &recorded = *stream;
        std::ostringstream warnings;
        GameRecording recording(std::move(stream), "game.script", warnings);
        window.addObserver(&recording);
        RandomAnswerer answerer(random);
        for (int i = 0; i < 250 && !maze().ended(); ++i)
            act(random);
        window.removeObserver(&recording);
        recording.finish();
        std::ostringstream state;
        script::dump(maze(), state);

        const DriverRun replay = runDriver(recorded.str());
        ASSERT_EQ(replay.status, 0) << replay.err;
        EXPECT_EQ(boxesOf(replay.out), answerer.seen) << "seed " << seed;
        EXPECT_EQ(lastDump(replay.out), state.str()) << "seed " << seed << '\n' << recorded.str();
        EXPECT_EQ(warnings.str(), "");
        for (const std::string &box : answerer.seen) {
            wins += static_cast<int>(box.find("Congratulations") != std::string::npos);
            losses += static_cast<int>(box.find("GAME OVER") != std::string::npos);
        }
        m_window.reset();
    }
    EXPECT_GT(wins, 0);
    EXPECT_GT(losses, 0);
}

// With both timers stopped the balls stand still, but the player's time goes on: it is written as
// waits, so a replay in the window shows the game at the pace it was played, and the driver,
// where such a wait changes nothing, ends in the same state.
TEST_F(Recording, TimeWhileBothTimersAreStoppedIsWrittenAsWaits)
{
    // The clock starts only once the recording has begun: a tick before it would be in the
    // window's game but not in the script.
    MainWindow &window = openWindow(TickSource::Manual);
    auto stream = std::make_unique<std::ostringstream>();
    std::ostringstream &recorded = *stream;
    std::ostringstream warnings;
    GameRecording recording(std::move(stream), "game.script", warnings);
    window.addObserver(&recording);
    window.setTickSource(TickSource::Clock);
    QTest::keyClicks(child<QLineEdit>("txtcheat"), QStringLiteral("iceclock"));
    clickStart();
    ASSERT_FALSE(maze().timer(Element::Timer1).enabled());
    ASSERT_FALSE(maze().timer(Element::Timer2).enabled());
    QTest::qWait(300);
    press(Qt::Key_Down);
    window.removeObserver(&recording);
    recording.finish();

    const std::string text = recorded.str();
    const std::size_t wait = text.find("\nwait ", text.find("click cmdstart"));
    ASSERT_NE(wait, std::string::npos) << text;
    EXPECT_GT(std::stoul(text.substr(wait + 6)), 0U) << text;
    EXPECT_LT(wait, text.find("\nkey ")) << "the wait is not before the key\n" << text;
    std::ostringstream state;
    script::dump(maze(), state);
    const DriverRun replay = runDriver(text);
    ASSERT_EQ(replay.status, 0) << replay.err;
    EXPECT_EQ(lastDump(replay.out), state.str()) << text;
}

// Replays `script` in a fresh window at once, with nothing recorded for boxes the script leaves
// to their default; returns what the replay printed.
class Replay : public WindowTest
{
protected:
    std::string replay(std::vector<script::ScriptLine> lines, bool *handedOver = nullptr)
    {
        MainWindow &window = openWindow();
        std::ostringstream out;
        std::ostringstream err;
        Replayer replayer(window, std::move(lines), QStringLiteral("test.script"), out, err,
                          Replayer::Pace::Instant);
        QEventLoop loop;
        QObject::connect(&replayer, &Replayer::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        replayer.start();
        EXPECT_TRUE(window.windowTitle().contains(QStringLiteral("replaying test.script")));
        if (replayer.isRunning())
            loop.exec();
        if (handedOver)
            *handedOver = !replayer.isRunning();
        EXPECT_FALSE(replayer.isRunning()) << "the replay did not end";
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Maze"));
        EXPECT_EQ(err.str(), "");
        return out.str();
    }
};

std::vector<script::ScriptLine> parse(const std::string &text)
{
    std::istringstream in(text);
    auto read = script::readScript(in);
    EXPECT_TRUE(std::holds_alternative<std::vector<script::ScriptLine>>(read));
    return std::get<std::vector<script::ScriptLine>>(std::move(read));
}

TEST_F(Replay, GoldenScriptsEndInTheStateTheDriverDumps)
{
    for (const char *name :
         {"balls", "cheats", "horizontal-wall", "lifecycle", "skipjump", "stop-marker-1",
          "stop-marker-2", "turn", "two-walls", "vertical-wall", "win"}) {
        std::ifstream file(std::string(QUORVALE_SCRIPTS_DIR) + "/" + name + ".script");
        std::stringstream text;
        text << file.rdbuf();
        const DriverRun driver = runDriver(text.str());
        ASSERT_EQ(driver.status, 0) << name;
        // The driver answers Yes where the script gave no answer; a window replay leaves such a
        // box to the player. So the replay gets every answer the driver gave, up front.
        std::vector<script::ScriptLine> lines;
        script::AnswerCommand answers;
        for (const std::string &box : boxesOf(driver.out))
            answers.answers.push_back(box.ends_with("yes") ? MsgBoxResult::Yes : MsgBoxResult::No);
        if (!answers.answers.empty())
            lines.push_back({0, answers});
        for (script::ScriptLine &line : parse(text.str())) {
            if (!std::holds_alternative<script::AnswerCommand>(line.command))
                lines.push_back(std::move(line));
        }
        EXPECT_EQ(replay(std::move(lines)), withoutBoxes(driver.out)) << name;
        m_window.reset();
    }
}

TEST_F(Replay, PlayerIsIgnoredUntilTheScriptRunsOut)
{
    MainWindow &window = openWindow();
    std::ostringstream out;
    std::ostringstream err;
    Replayer replayer(window, parse("wait 2000\nkey 40\n"), QStringLiteral("x"), out, err,
                      Replayer::Pace::Instant);
    replayer.start();
    clickStart();
    QTest::keyClicks(child<QLineEdit>("txtcheat"), "iceclock");
    child<QAction>("mnuhelpabout")->trigger();
    EXPECT_TRUE(maze().control(Element::cmdstart).visible());
    EXPECT_EQ(maze().cheatBox().text(), "");
    EXPECT_EQ(child<QLineEdit>("txtcheat")->text(), QString());
    EXPECT_EQ(maze().label().caption(), "");
    QEventLoop loop;
    QObject::connect(&replayer, &Replayer::finished, &loop, &QEventLoop::quit);
    // Generous: on a busy machine the replay's 2000 ticks take a while even at once.
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();
    ASSERT_FALSE(replayer.isRunning());
    EXPECT_EQ(maze().shape(Element::shpyou).top(), layout::shpyou.top + 200);
    // The player has the game now.
    clickStart();
    EXPECT_FALSE(maze().control(Element::cmdstart).visible());
}

TEST_F(Replay, BoxWithoutARecordedAnswerWaitsForThePlayerAndEndsTheReplay)
{
    BoxAnswerer player({QMessageBox::Yes, QMessageBox::Yes});
    bool handedOver = false;
    // The second key loses: the first box has no answer left, so the dump is never reached.
    EXPECT_EQ(replay(parse("key 38\nkey 38\ndump\n"), &handedOver), "");
    EXPECT_TRUE(handedOver);
    EXPECT_EQ(player.seen().size(), 2);
}

// The window keeps no more answers than the driver would: the line that passes the limit is
// named, and the player has the game from there.
TEST_F(Replay, TooManyAnswersNameTheirLineAndHandTheGameOver)
{
    MainWindow &window = openWindow();
    const auto answers = [](std::size_t n) {
        return script::AnswerCommand{std::vector<MsgBoxResult>(n, MsgBoxResult::Yes)};
    };
    std::vector<script::ScriptLine> lines;
    lines.push_back({3, answers(script::maxQueuedAnswers / 2)});
    lines.push_back({7, answers(script::maxQueuedAnswers / 2 + 1)});
    lines.push_back({8, script::KeyCommand{vbKeyDown}});
    std::ostringstream out;
    std::ostringstream err;
    Replayer replayer(window, std::move(lines), QStringLiteral("x"), out, err,
                      Replayer::Pace::Instant);
    QEventLoop loop;
    QObject::connect(&replayer, &Replayer::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    replayer.start();
    loop.exec();
    EXPECT_FALSE(replayer.isRunning());
    EXPECT_EQ(err.str(), "quorvale: line 7: " + script::tooManyAnswers() + '\n');
    EXPECT_EQ(maze().shape(Element::shpyou).top(), layout::shpyou.top) << "line 8 was played";
}

// A recording whose player closed the window behind the second box ends the game there, with the
// piece where it was judged and no reset.
TEST_F(Replay, RecordedCloseInABoxClosesTheWindowAtThatBox)
{
    MainWindow &window = openWindow();
    std::ostringstream out;
    std::ostringstream err;
    Replayer replayer(window, parse("answer yes close\nkey 38\nkey 38\ndump\n"),
                      QStringLiteral("x"), out, err, Replayer::Pace::Instant);
    EXPECT_EQ(exitStatusOf([&] { replayer.start(); }), 0);
    EXPECT_TRUE(maze().ended());
    EXPECT_EQ(maze().shape(Element::shpyou).top(), layout::shpyou.top - 400);
    EXPECT_TRUE(maze().control(Element::cmdstart).visible()) << "no reset after the close";
}

} // namespace
} // namespace quorvale::ui::test
