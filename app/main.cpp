#include "mainwindow.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

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

} // namespace

int main(int argc, char *argv[])
{
    if (noDisplayToOpen(argc, argv)) {
        std::fputs("quorvale: cannot open a display: neither DISPLAY nor WAYLAND_DISPLAY is set\n",
                   stderr);
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quorvale"));
    QApplication::setApplicationVersion(QStringLiteral(QUORVALE_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.quorvale.Quorvale"));
    // The game decides when it ends, with the status it gives.
    QApplication::setQuitOnLastWindowClosed(false);

    quorvale::ui::MainWindow window;
    QObject::connect(&window, &quorvale::ui::MainWindow::programEnded, &app,
                     [](int exitCode) { QCoreApplication::exit(exitCode); });
    window.show();
    return QApplication::exec();
}
