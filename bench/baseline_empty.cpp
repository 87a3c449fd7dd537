// The start-up baseline: an empty Qt Widgets main window with a menu bar, the same size as the
// game's, reporting its first painted frame exactly as the game does.
#include "firstframeprobe.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    for (const char *title : {"File", "Edit", "Help"})
        window.menuBar()->addMenu(QString::fromLatin1(title))->addAction(QStringLiteral("Item"));
    window.resize(670, 579 + window.menuBar()->sizeHint().height());
    quorvale::ui::FirstFrameProbe::installIfAsked(&window);
    window.show();
    return QApplication::exec();
}
