#include "displayopening.h"
#include "gamerecording.h"
#include "ghost.h"
#include "link.h"
#include "mainwindow.h"
#include "racing.h"
#include "reader.h"
#include "replayer.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <vector>

namespace {

// Where Qt chooses among X11 and Wayland, it finds no display without one of these (or Qt's own
// -platform option), and then advises reinstalling the program and aborts; a player deserves one
// plain line instead.
bool noDisplayToOpen(int argc, char *argv[])
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN) && !defined(Q_OS_ANDROID)
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        if (!qEnvironmentVariableIsEmpty(name))
            return false;
    }
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return false;
    }
    return true;
#else
    Q_UNUSED(argc);
    Q_UNUSED(argv);
    return false;
#endif
}

struct Options
{
    QString record;
    QString replay;
    QString race;
};

// The command line, read before the window system is touched: --help and --version work without
// a display, and a mistake is reported before any window opens. Returns the exit status when
// the program should stop here.
std::variant<Options, int> parseCommandLine(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "A small arcade maze game: steer the green piece with the arrow keys to the pink\n"
        "goal, past the walls and the two patrolling balls. A game recorded with --record\n"
        "replays exactly with --replay, or without a window with quorvale-script;\n"
        "'quorvale-script --link' makes it a link that opens in any browser."));
    // Qt's own options (-platform, -style, ...) keep working, as with any Qt program.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption record(
        QStringLiteral("record"),
        QStringLiteral("Record the game to FILE as a script, as it is played."),
        QStringLiteral("FILE"));
    const QCommandLineOption replay(
        QStringLiteral("replay"),
        QStringLiteral("Replay the script FILE, or the game a link holds, in the window, "
                       "then hand the game over."),
        QStringLiteral("FILE|LINK"));
    const QCommandLineOption race(
        QStringLiteral("race"),
        QStringLiteral("Race the ghost of the first game won in the script FILE, or in the game a "
                       "link holds: it moves one tick of its recording for each tick of yours "
                       "from your start, and a line below the board shows both times."),
        QStringLiteral("FILE|LINK"));
    parser.addOption(record);
    parser.addOption(replay);
    parser.addOption(race);
    for (const char *name : {"platform", "platformpluginpath", "platformtheme", "plugin",
                             "qwindowgeometry", "qwindowicon", "qwindowtitle", "display",
                             "geometry", "style", "stylesheet", "session", "name", "title"}) {
        QCommandLineOption qt(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        qt.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qt);
    }
    for (const char *name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        QCommandLineOption qt(QString::fromLatin1(name));
        qt.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qt);
    }

    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "quorvale: %s\n", qPrintable(parser.errorText()));
        return 2;
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        QString text = parser.helpText();
        text.replace(QStringLiteral("<executable_name>"), QStringLiteral("quorvale"));
        std::fputs(qPrintable(text), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("quorvale %s\n", QUORVALE_VERSION);
        return 0;
    }
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "quorvale: unexpected argument '%s'\n",
                     qPrintable(parser.positionalArguments().constFirst()));
        return 2;
    }
    if (parser.isSet(replay) && parser.isSet(race)) {
        std::fputs("quorvale: --replay and --race do not go together\n", stderr);
        return 2;
    }
    return Options{parser.value(record), parser.value(replay), parser.value(race)};
}

// The script a --replay or --race argument names, as a file or a link, checked whole; or the
// exit status once the reason it cannot be read is told.
std::variant<std::vector<quorvale::script::ScriptLine>, int> readRecording(const QString &argument,
                                                                           QString &name)
{
    std::istringstream shared;
    std::ifstream file;
    std::istream *in = &file;
    if (const std::string text = argument.toStdString(); quorvale::script::isLink(text)) {
        auto unpacked = quorvale::script::readLink(text);
        if (const auto *error = std::get_if<quorvale::script::LinkError>(&unpacked)) {
            std::fprintf(stderr, "quorvale: %s\n", error->message.c_str());
            return 2;
        }
        shared.str(std::move(std::get<std::string>(unpacked)));
        in = &shared;
        name = QStringLiteral("a shared game");
    } else {
        file.open(text, std::ios::binary);
        if (!file || QFileInfo(argument).isDir()) {
            std::fprintf(stderr, "quorvale: cannot read %s\n", qPrintable(argument));
            return 2;
        }
        name = QFileInfo(argument).fileName();
    }
    auto read = quorvale::script::readScript(*in);
    if (const auto *error = std::get_if<quorvale::script::LineError>(&read)) {
        std::fprintf(stderr, "quorvale: line %zu: %s\n", error->number, error->message.c_str());
        return 2;
    }
    return std::move(std::get<std::vector<quorvale::script::ScriptLine>>(read));
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("quorvale"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVALE_VERSION));
    const auto parsed = parseCommandLine(argc, argv);
    if (const int *status = std::get_if<int>(&parsed))
        return *status;
    const Options &options = std::get<Options>(parsed);

    // The whole script is checked before the window opens, and read before a recording to the
    // same file could empty it.
    std::vector<quorvale::script::ScriptLine> script;
    QString replayName;
    if (!options.replay.isEmpty()) {
        auto read = readRecording(options.replay, replayName);
        if (const int *status = std::get_if<int>(&read))
            return *status;
        script = std::move(std::get<std::vector<quorvale::script::ScriptLine>>(read));
    }
    std::unique_ptr<quorvale::script::Ghost> ghost;
    if (!options.race.isEmpty()) {
        QString name;
        auto read = readRecording(options.race, name);
        if (const int *status = std::get_if<int>(&read))
            return *status;
        auto made = quorvale::script::Ghost::make(
            std::move(std::get<std::vector<quorvale::script::ScriptLine>>(read)));
        if (const auto *refusal = std::get_if<std::string>(&made)) {
            std::fprintf(stderr, "quorvale: %s\n", refusal->c_str());
            return 2;
        }
        ghost = std::move(std::get<std::unique_ptr<quorvale::script::Ghost>>(made));
    }
    if (noDisplayToOpen(argc, argv)) {
        std::fputs("quorvale: cannot open a display: neither DISPLAY nor WAYLAND_DISPLAY is set\n",
                   stderr);
        return 1;
    }

    const auto app = [&] {
        const quorvale::DisplayOpening opening;
        return std::make_unique<QApplication>(argc, argv);
    }();
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.quorvale.Quorvale"));
    // The game decides when it ends, with the status it gives.
    QApplication::setQuitOnLastWindowClosed(false);

    // Only now that the window can open: a game that cannot start leaves no file behind, and
    // an existing file of that name as it was.
    std::unique_ptr<quorvale::ui::GameRecording> recording;
    if (!options.record.isEmpty()) {
        std::string error;
        recording = quorvale::ui::GameRecording::create(options.record.toStdString(), error);
        if (!recording) {
            std::fprintf(stderr, "quorvale: %s\n", error.c_str());
            return 2;
        }
    }

    quorvale::ui::MainWindow window;
    QObject::connect(&window, &quorvale::ui::MainWindow::programEnded, app.get(),
                     [](int exitCode) { QCoreApplication::exit(exitCode); });
    if (recording)
        window.addObserver(recording.get());
    std::optional<quorvale::ui::Racing> racing;
    if (ghost)
        racing.emplace(window, std::move(ghost));
    std::optional<quorvale::ui::Replayer> replayer;
    if (!options.replay.isEmpty()) {
        replayer.emplace(window, std::move(script), replayName, std::cout, std::cerr);
    }
    window.show();
    if (replayer)
        replayer->start();
    const int status = QApplication::exec();
    if (recording) {
        window.removeObserver(recording.get());
        recording->finish();
    }
    return status;
}
