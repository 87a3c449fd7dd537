#pragma once

#include <QHash>
#include <QObject>
#include <QSet>

class QKeyEvent;

namespace quorvale::ui {

// Keeps keys the player did not press for a message box from answering it. A box of the game
// opens under the player's fingers, in the middle of a key press that moved the piece: the
// keyboard's repeats of that key, or of the key that answered the box before, would otherwise
// move the box's selection or answer it before the player has even read it. In a message box
// only a fresh press acts: auto-repeats never do, nor does a key that was already down when the
// box opened, until it has been released. Everywhere else keys pass untouched.
class HeldKeys : public QObject
{
public:
    // Watches every key of the application from here on, until destroyed.
    explicit HeldKeys(QObject *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static bool isMessageBox(const QObject *object);
    bool isRepeat(const QObject *watched, const QKeyEvent &key);

    QSet<quint64> m_down;              // pressed and not released yet
    QHash<quint64, quint64> m_release; // when each key was last released
    QSet<quint64> m_stale;             // down when a message box opened, not released since
    QSet<quint64> m_staleReleased;     // of those, released; back if the release was a repeat's
};

} // namespace quorvale::ui
