#pragma once

#include <QString>
#include <QtGlobal>

#include <vector>

namespace quorvale {

// Held while the application opens the window system (around QApplication's constructor). If
// the platform cannot be opened, the program prints one line, "quorvale: cannot open a display:"
// with the reason in a few words, and exits with status 1; whatever Qt and the display libraries
// printed meanwhile is dropped. If it opens, what they printed is passed on as it would have been.
//
// Why this way: Qt chooses the platform (QT_QPA_PLATFORM, -platform, XDG_SESSION_TYPE, its own
// list of fallbacks) and reports failure only through a fatal message from inside the
// constructor, followed by abort(). Probing X11 or Wayland beforehand would repeat that choice
// and go wrong whenever it differs from Qt's. Catching the fatal message holds whatever Qt
// decides: the one line and the status do not depend on the words of Qt's messages, only the
// reason given does, and an unknown failure still gets a plain reason. Some display libraries
// (libwayland) write to standard error themselves, so the descriptor is held back as well.
class DisplayOpening
{
public:
    DisplayOpening();
    ~DisplayOpening();
    DisplayOpening(const DisplayOpening &) = delete;
    DisplayOpening &operator=(const DisplayOpening &) = delete;

private:
    static void handler(QtMsgType type, const QMessageLogContext &context, const QString &text);
    [[noreturn]] void fail();
    void release();

    struct Held
    {
        QtMsgType type;
        QString category;
        QString text;
    };
    std::vector<Held> m_held;
    QtMessageHandler m_previous = nullptr;
    int m_stderr = -1;   // the real standard error, while the descriptor is held
    int m_captured = -1; // where standard error goes meanwhile
};

} // namespace quorvale
