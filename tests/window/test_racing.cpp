// A race in the window: the ghost drawn where its recording has it, the line below the board,
// and nothing of the player's game changed by it.
#include "dump.h"
#include "gamerecording.h"
#include "ghost.h"
#include "racing.h"
#include "reader.h"
#include "replayer.h"
#include "runner.h"
#include "stopwatch.h"
#include "windowtest.h"

#include <QStatusBar>

#include <fstream>
#include <sstream>

namespace quorvale::ui::test {
namespace {

// Won after "skipjump": 3 ticks, then nine steps left two ticks apart, and the key that finds
// the goal.
std::unique_ptr<script::Ghost> ghost()
{
    std::string text = "text \"skipjump\"\nclick cmdstart\nwait 3\n";
    for (int i = 0; i < 9; ++i)
        text += "key 37\nwait 2\n";
    text += "key 32\n";
    std::istringstream in(text);
    auto made =
        script::Ghost::make(std::get<std::vector<script::ScriptLine>>(script::readScript(in)));
    return std::move(std::get<std::unique_ptr<script::Ghost>>(made));
}

using Racing = WindowTest;

bool near(QRgb a, QRgb b)
{
    return std::abs(qRed(a) - qRed(b)) <= 2 && std::abs(qGreen(a) - qGreen(b)) <= 2 &&
           std::abs(qBlue(a) - qBlue(b)) <= 2;
}

TEST_F(Racing, GhostIsDrawnAtHalfOpacityWhereItsRecordingIsOnAKnownTick)
{
    MainWindow &window = openWindow();
    ui::Racing racing(window, ghost());
    constexpr QRgb faintGreen = qRgb(100, 227, 100); // green over the board's grey, half and half
    constexpr QRgb boardGrey = 0xFFC8C8C8;
    const auto pixel = [this](int leftTwips) {
        return m_window->board()->grab().toImage().pixel((leftTwips + 187) / 15, (240 + 187) / 15);
    };
    EXPECT_PRED2(near, pixel(8640), faintGreen); // waiting at its start, after the code
    clickStart();
    for (int i = 0; i < 7; ++i)
        window.tickClock();
    // After tick 3 its first step came, then one every two ticks: three steps.
    EXPECT_PRED2(near, pixel(8640 - 600), faintGreen);
    EXPECT_PRED2(near, pixel(8640), boardGrey);
    EXPECT_EQ(racing.line().toStdString(), "You 0.1 s \u00b7 Ghost 0.1 s");
}

TEST_F(Racing, TheBoardKeepsItsSizeAndTheWindowGrowsByOneLine)
{
    MainWindow &window = openWindow();
    const QRect board = window.board()->geometry();
    const int height = window.height();
    {
        ui::Racing racing(window, ghost());
        QApplication::processEvents();
        EXPECT_EQ(window.board()->geometry(), board);
        EXPECT_GT(window.height(), height);
        EXPECT_EQ(window.height(), height + window.statusBar()->height());
    }
}

// The same events, with and without a ghost beside them.
std::pair<std::string, std::string> play(MainWindow &window, bool race,
                                         const std::function<void()> &events)
{
    auto stream = std::make_unique<std::ostringstream>();
    std::ostringstream &recorded = *stream;
    std::ostringstream warnings;
    GameRecording recording(std::move(stream), "game.script", warnings);
    window.addObserver(&recording);
    std::optional<ui::Racing> racing;
    if (race)
        racing.emplace(window, ghost());
    events();
    racing.reset();
    window.removeObserver(&recording);
    recording.finish();
    std::ostringstream state;
    script::dump(window.maze(), state);
    return {recorded.str(), state.str()};
}

TEST_F(Racing, TheSameEventsGiveTheSameRecordingAndDumpWithAndWithoutAGhost)
{
    std::pair<std::string, std::string> results[2];
    for (const bool race : {false, true}) {
        MainWindow &window = openWindow();
        BoxAnswerer answerer({QMessageBox::Yes, QMessageBox::Yes});
        results[race] = play(window, race, [&] {
            clickStart();
            for (int i = 0; i < 12; ++i) {
                window.tickClock();
                if (i % 3 == 0)
                    press(Qt::Key_Left);
            }
            // Off the board's top: lost, and the board reset.
            for (int i = 0; i < 5 && !maze().control(Element::cmdstart).visible(); ++i)
                press(Qt::Key_Up);
            clickStart();
            window.tickClock();
        });
        m_window.reset();
    }
    EXPECT_EQ(results[0].first, results[1].first);
    EXPECT_EQ(results[0].second, results[1].second);
    EXPECT_NE(results[0].first.find("wait"), std::string::npos);
}

// The games played in the window for the golden scripts, replayed in the window, are timed as the
// driver times them.
TEST_F(Racing, TheWindowTimesTheGoldenGamesAsTheDriverDoes)
{
    for (const char *name : {"race-ball", "race-startover", "race-win"}) {
        SCOPED_TRACE(name);
        const std::string path = std::string(QUORVALE_SCRIPTS_DIR) + '/' + name + ".script";
        std::ifstream file(path);
        std::ostringstream driverTimes;
        std::ostringstream errors;
        ASSERT_EQ(script::printTimes(file, driverTimes, errors), 0) << errors.str();

        std::ifstream again(path);
        auto lines = std::get<std::vector<script::ScriptLine>>(script::readScript(again));
        MainWindow &window = openWindow();
        script::Stopwatch stopwatch;
        {
            script::PlayTiming timing(window.maze(), stopwatch);
            window.addTimeKeeper(timing);
            std::ostringstream out;
            Replayer replayer(window, std::move(lines), QString::fromLatin1(name), out, errors,
                              Replayer::Pace::Instant);
            QEventLoop loop;
            QObject::connect(&replayer, &Replayer::finished, &loop, &QEventLoop::quit);
            QObject::connect(&window, &MainWindow::programEnded, &loop, &QEventLoop::quit);
            QTimer::singleShot(20000, &loop, &QEventLoop::quit);
            replayer.start();
            if (replayer.isRunning())
                loop.exec();
            window.removeTimeKeeper(timing);
        }
        EXPECT_EQ(script::timesReport(stopwatch.games()), driverTimes.str());
        EXPECT_FALSE(driverTimes.str().empty());
        m_window.reset();
    }
}

} // namespace
} // namespace quorvale::ui::test
