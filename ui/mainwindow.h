#pragma once

#include "maze.h"
#include "play.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <memory>
#include <string>
#include <vector>

class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QMenu;
class QMessageBox;
class QRadioButton;

namespace quorvale::ui {

class BoardWidget;
class EventObserver;
class BoxIconStyle;
class RadioGroupFocus;
class StartButton;
class TickTimer;

// Where timer ticks come from: the clock, or only fireTimer() (for tests that step time).
enum class TickSource { Clock, Manual };

// The window "Maze": the elements of the layout, the menus, the timers and the message boxes
// around the game's rules. It is the rules' platform: events go in through the rules' entry
// points only, and every property change the rules make comes back here to be shown.
class MainWindow : public QMainWindow, private Platform
{
    Q_OBJECT

public:
    explicit MainWindow(TickSource ticks = TickSource::Clock, QWidget *parent = nullptr);
    ~MainWindow() override;

    const Maze &maze() const { return m_maze; }
    BoardWidget *board() const { return m_board; }

    // Delivers a tick of one timer as the clock would: not while a message box is open, nor
    // while the timer is stopped. Returns whether it reached the timer's procedure.
    bool fireTimer(Element timer);
    bool isMessageBoxOpen() const { return m_modalDepth > 0; }

    // ---- Recording and replay ----
    // Observers are told of every event that reaches the rules and of every message box.
    void addObserver(EventObserver *observer);
    void removeObserver(EventObserver *observer);
    // An observer that times the games (a race): the clock then runs while every timer is
    // stopped too, since a game's time goes on.
    void addTimeKeeper(script::PlayObserver &observer);
    void removeTimeKeeper(script::PlayObserver &observer);
    // The player's ways in, for a replay: each goes to the rules as the player's own would,
    // also while the player is ignored.
    void deliverKey(std::int16_t keyCode, std::int16_t shift = 0);
    void deliverClick(Clickable target);
    void deliverText(std::string text);
    // One code point typed at the end of the cheat box. The line edit shows the text once the
    // event loop turns again, so that a replay's long `type` stays linear in its length.
    void deliverTyped(std::string_view codePoint);
    // One tick of the clock: to every running timer in the list's order.
    void tickClock();
    // While a replay runs, the player's keys, clicks and edits are ignored.
    void setPlayerIgnored(bool ignored) { m_playerIgnored = ignored; }
    void setTickSource(TickSource ticks);
    TickSource tickSource() const { return m_tickSource; }

    // What the rules see of this window. Tests use it to play the part of the rules, for what
    // the rules cannot be made to do in play (a run-time error).
    Platform &platform() { return *this; }

signals:
    // The program has ended; the process should exit with this status.
    void programEnded(int exitCode);

protected:
    void closeEvent(QCloseEvent *event) override;
    // Tab and Shift+Tab enter the colour group at the chosen colour.
    bool focusNextPrevChild(bool next) override;

private:
    // Platform
    MsgBoxResult messageBox(std::string_view prompt, int style, std::string_view title) override;
    void endProgram() override;
    void runtimeError(int number, std::string_view description) override;
    void propertyChanged(Element element, Property property) override;

    bool takesInput() const;
    void buildMenus();
    void buildControls();
    void syncControl(Element element);
    void syncOptions();
    void syncTimers();
    void syncCheatText();
    template<typename Call>
    void notify(Call &&call);
    void settleFocus(Element shown);
    void finish(int exitCode);

    Maze m_maze;
    script::Play m_play{m_maze};
    BoardWidget *m_board = nullptr;
    StartButton *m_start = nullptr;
    QLineEdit *m_cheat = nullptr;
    QGroupBox *m_frame = nullptr;
    std::array<QRadioButton *, optionButtons.size()> m_options{};
    std::unique_ptr<RadioGroupFocus> m_colourGroup;
    TickTimer *m_clock = nullptr;
    TickSource m_tickSource;
    int m_modalDepth = 0;
    QPointer<QMessageBox> m_openBox;
    std::unique_ptr<BoxIconStyle> m_boxStyle; // outlives every box
    bool m_finished = false;
    std::vector<EventObserver *> m_observers;
    int m_timeKeepers = 0;
    bool m_playerIgnored = false;
    bool m_typing = false;         // a code point is being typed into the cheat box
    bool m_cheatTextStale = false; // the line edit is yet to show the rules' text
};

} // namespace quorvale::ui
