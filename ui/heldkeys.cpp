#include "heldkeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QWindow>
#include <cstdio>

namespace quorvale::ui {

namespace {

// The same physical key on press and release, whatever the modifiers made of it in between
// (Shift+Tab presses Backtab and may release Tab); Qt's key where the platform gives no scan code.
quint64 keyId(const QKeyEvent &key)
{
    if (key.nativeScanCode() != 0)
        return (quint64{1} << 32) | key.nativeScanCode();
    return static_cast<quint32>(key.key());
}

const QWidget *topLevelOf(const QObject *object)
{
    if (object->isWidgetType())
        return static_cast<const QWidget *>(object)->window();
    if (object->isWindowType()) {
        const QWidgetList tops = QApplication::topLevelWidgets();
        for (const QWidget *top : tops) {
            if (top->windowHandle() == object)
                return top;
        }
    }
    return nullptr;
}

} // namespace

HeldKeys::HeldKeys(QObject *parent) : QObject(parent)
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool HeldKeys::isMessageBox(const QObject *object)
{
    return qobject_cast<const QMessageBox *>(topLevelOf(object)) != nullptr;
}

// A key event from the window system comes to its window first, once, and only then to the
// widget with the focus and its parents: the window is the one place to follow what is down.
// There a press is a repeat if the platform marks it, if its key is still down (a platform that
// repeats presses alone), or if it comes at the very instant its key was released: X11 repeats a
// held key as a release and a press with one time stamp, and Qt marks such pairs only when both
// have already arrived when it reads the release.
bool HeldKeys::isRepeat(const QObject *watched, const QKeyEvent &key)
{
    if (key.isAutoRepeat())
        return true;
    if (!watched->isWindowType())
        return false;
    const quint64 id = keyId(key);
    const bool down = m_down.contains(id);
    const auto released = m_release.constFind(id);
    const bool sameInstant =
        key.timestamp() != 0 && released != m_release.cend() && *released == key.timestamp();
    switch (key.type()) {
    case QEvent::KeyPress:
        m_down.insert(id);
        // The release just before was the repeat's own: the key never left the box's past.
        if (sameInstant && m_staleReleased.remove(id))
            m_stale.insert(id);
        return down || sameInstant;
    case QEvent::KeyRelease:
        m_down.remove(id);
        m_release.insert(id, key.timestamp());
        return false;
    default: // the shortcut check that comes before the press
        return down || sameInstant;
    }
}

bool HeldKeys::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Show:
        // Whatever is down as a box opens was pressed for something else.
        if (watched->isWidgetType() && static_cast<QWidget *>(watched)->isWindow() &&
            isMessageBox(watched)) {
            m_stale = m_down;
            m_staleReleased.clear();
        }
        return false;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
        break;
    default:
        return false;
    }

    const auto &key = *static_cast<const QKeyEvent *>(event);
    const bool repeat = isRepeat(watched, key);
    if (!isMessageBox(watched))
        return false;
    const quint64 id = keyId(key);
    if (!repeat && !m_stale.contains(id))
        return false;
    if (key.type() == QEvent::KeyRelease && !repeat && m_stale.remove(id))
        m_staleReleased.insert(id);
    // Taken here and dropped: an accepted shortcut check also keeps the key from the buttons'
    // shortcuts.
    event->accept();
    return true;
}

} // namespace quorvale::ui
