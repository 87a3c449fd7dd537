#include "mainwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
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
