#include "mainwindow.h"

#include "boardwidget.h"
#include "boxicons.h"
#include "captionframe.h"
#include "eventobserver.h"
#include "firstframeprobe.h"
#include "gamepadinput.h"
#include "geometry.h"
#include "heldkeys.h"
#include "messagebox.h"
#include "radiogroupfocus.h"
#include "startbutton.h"
#include "systemcolours.h"
#include "ticktimer.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace quorvale::ui {

namespace {

QString toQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::size_t optionSlot(Element e)
{
    if (kind(e) != ElementKind::OptionButton)
        elementNotHeld("the option buttons", e);
    return slotOf(e);
}

// The colours the layout gives a control, fixed whatever the desktop's theme.
void paintControl(QWidget *widget, Colour ground, Colour text, QPalette::ColorRole groundRole)
{
    QPalette palette = widget->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, groundRole, toQColor(ground));
        palette.setColor(group, QPalette::WindowText, toQColor(text));
        palette.setColor(group, QPalette::Text, toQColor(text));
        palette.setColor(group, QPalette::ButtonText, toQColor(text));
    }
    widget->setPalette(palette);
    // Buttons fill with the Button role by default; the layout's ground is one colour for all.
    widget->setBackgroundRole(groundRole);
    widget->setAutoFillBackground(true);
}

} // namespace

MainWindow::MainWindow(TickSource ticks, QWidget *parent)
    : QMainWindow(parent), m_maze(*this), m_tickSource(ticks)
{
    setWindowTitle(toQString(m_maze.form().caption()));
    // The window has one size, so a window manager is offered no maximise. Named in full: a
    // window that names none of these gets every one, maximise included.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowIcon(QIcon(QStringLiteral(":/icons/io.github.quorvale.Quorvale-48.png")));

    m_boxStyle = std::make_unique<BoxIconStyle>();
    m_board = new BoardWidget(m_maze, this);
    // The board draws every piece itself; for a screen reader it is the maze, named as the window.
    m_board->setAccessibleName(toQString(m_maze.form().caption()));
    m_board->setFixedSize(layout::clientWidth / layout::twipsPerPixel,
                          layout::clientHeight / layout::twipsPerPixel);
    setCentralWidget(m_board);
    connect(m_board, &BoardWidget::keyDown, this, [this](std::int16_t keyCode, std::int16_t shift) {
        if (!m_playerIgnored)
            deliverKey(keyCode, shift);
    });

    // Message boxes open under a held key; only fresh presses may answer them.
    new HeldKeys(this);
    // A game controller's presses are keys like the keyboard's, with the same rules.
    new GamepadInput(this);
    buildMenus();
    buildControls();
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    // One clock for every timer: all the balls move in one wake-up of the process and are shown
    // in one repaint, instead of one of each per ball, and they can never drift apart.
    m_clock = new TickTimer(this);
    connect(m_clock, &TickTimer::ticked, this, &MainWindow::tickClock);
    syncTimers();
    m_start->setFocus();
    FirstFrameProbe::installIfAsked(this);
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenus()
{
    QMenuBar *bar = menuBar();
    // The bar belongs to the window on every desktop, so the client area is always below it.
    bar->setNativeMenuBar(false);
    // Menus come before the menus and items that open from them.
    std::array<QMenu *, menus.size() + 1> built{};
    const auto menuOf = [&](Menu m) {
        return built[static_cast<std::size_t>(m)];
    };
    for (const MenuInfo &entry : menus) {
        QMenu *menu = entry.parent == Menu::none
                          ? bar->addMenu(toQString(entry.caption))
                          : menuOf(entry.parent)->addMenu(toQString(entry.caption));
        menu->setObjectName(toQString(entry.name));
        built[static_cast<std::size_t>(entry.id)] = menu;
    }
    for (const ClickableInfo &item : clickables) {
        if (item.kind != ClickableKind::MenuItem)
            continue;
        QAction *action = menuOf(item.menu)->addAction(toQString(item.caption));
        action->setObjectName(toQString(item.name));
        const Clickable target = item.id;
        connect(action, &QAction::triggered, this, [this, target] {
            if (!m_playerIgnored)
                deliverClick(target);
        });
    }
}

void MainWindow::buildControls()
{
    m_start = new StartButton(m_board);
    m_start->setObjectName(QStringLiteral("cmdstart"));
    m_start->setGeometry(toPixels(m_maze.control(Element::cmdstart).geometry()));
    // The face is a picture, so a screen reader needs the word it shows.
    m_start->setAccessibleName(QStringLiteral("Start"));
    connect(m_start, &QPushButton::clicked, this, [this] {
        if (!m_playerIgnored)
            deliverClick(Clickable::cmdstart);
    });

    m_cheat = new QLineEdit(m_board);
    m_cheat->setObjectName(QStringLiteral("txtcheat"));
    // A screen reader names every text field; this name does not tell what the box is for.
    m_cheat->setAccessibleName(QStringLiteral("Text"));
    m_cheat->setGeometry(toPixels(m_maze.cheatBox().geometry()));
    paintControl(m_cheat, layout::cheatBackColor, layout::cheatForeColor, QPalette::Base);
    // Like clicks, edits skip the input check that keys and ticks pass through: while a message
    // box is open it is modal, so no edit or click can reach the window at all.
    connect(m_cheat, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (m_playerIgnored)
            syncControl(Element::txtcheat);
        else
            deliverText(text.toStdString());
    });

    m_frame = new CaptionFrame(toQString(layout::frameCaption), m_board);
    m_frame->setObjectName(QStringLiteral("fraborder"));
    m_frame->setGeometry(toPixels(m_maze.control(Element::fraborder).geometry()));
    paintControl(m_frame, layout::controlBackColor, layout::controlForeColor, QPalette::Window);

    for (const Element option : optionButtons) {
        const OptionButton &model = m_maze.option(option);
        auto *button = new QRadioButton(toQString(model.caption()), m_frame);
        button->setObjectName(toQString(name(option)));
        button->setGeometry(toPixels(model.geometry()));
        paintControl(button, layout::controlBackColor, layout::controlForeColor, QPalette::Window);
        // Reached by Tab, but a click chooses the colour without taking the focus from the start
        // button, so Enter or Space still start the game straight after.
        button->setFocusPolicy(Qt::TabFocus);
        const Clickable target = *clickOf(option);
        // The model decides which option is set; the button only shows it.
        connect(button, &QRadioButton::clicked, this, [this, target] {
            if (!m_playerIgnored)
                deliverClick(target);
            syncOptions();
        });
        m_options[optionSlot(option)] = button;
    }

    // The tab order of the layout; the frame and the label never take the focus themselves.
    std::vector<std::pair<int, QWidget *>> order = {
        {m_maze.control(Element::cmdstart).tabIndex(), m_start},
        {m_maze.cheatBox().tabIndex(), m_cheat}};
    for (const Element option : optionButtons)
        order.emplace_back(m_maze.option(option).tabIndex(), m_options[optionSlot(option)]);
    std::sort(order.begin(), order.end(),
              [](const auto &a, const auto &b) { return a.first < b.first; });
    for (std::size_t i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1].second, order[i].second);
    std::vector<QRadioButton *> group;
    for (const auto &[index, widget] : order) {
        if (auto *button = qobject_cast<QRadioButton *>(widget))
            group.push_back(button);
    }
    m_colourGroup = std::make_unique<RadioGroupFocus>(std::move(group));
    m_frame->setFocusPolicy(Qt::NoFocus);
}

bool MainWindow::focusNextPrevChild(bool next)
{
    const QWidget *before = focusWidget();
    const bool moved = QMainWindow::focusNextPrevChild(next);
    m_colourGroup->tabbed(before, next);
    return moved;
}

bool MainWindow::fireTimer(Element timer)
{
    return takesInput() && m_play.tick(timer);
}

// Nothing reaches the rules while a box is open: a tick then could call LoseGame again from
// inside the open one (a ball standing on the piece would open boxes without end), and so could
// a key that reached the board before the box took the focus.
bool MainWindow::takesInput() const
{
    return m_modalDepth == 0 && !m_finished;
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_finished)
        m_play.close(m_modalDepth > 0);
    event->accept();
}

// ---------------------------------------------------------------------------------------------
// The ways into the rules, for the player and for a replay alike

void MainWindow::deliverKey(std::int16_t keyCode, std::int16_t shift)
{
    if (takesInput())
        m_play.key(keyCode, shift);
}

void MainWindow::deliverClick(Clickable target)
{
    m_play.click(target);
    // "Start Over" is a reset like any other, also in setup where it shows nothing anew.
    if (target == Clickable::mnufilestart)
        settleFocus(Element::cmdstart);
}

// A code clears the box to a space inside the rules, during this very edit; the line edit does
// not re-read its text by itself, so it is shown the rules' text now.
void MainWindow::deliverText(std::string text)
{
    m_play.edit(std::move(text));
    syncControl(Element::txtcheat);
}

// Showing the whole text again for each code point would make a long `type` quadratic.
void MainWindow::deliverTyped(std::string_view codePoint)
{
    m_typing = true;
    m_play.type(codePoint);
    m_typing = false;
}

void MainWindow::tickClock()
{
    if (!takesInput())
        return;
    // Observers are told inside the batch: what they move with the tick (a race's ghost) is
    // shown in the same repaint as the balls.
    const BoardWidget::Batch batch(*m_board);
    m_play.clockTick();
}

void MainWindow::addObserver(EventObserver *observer)
{
    m_observers.push_back(observer);
    m_play.addObserver(*observer);
    syncTimers();
}

void MainWindow::removeObserver(EventObserver *observer)
{
    std::erase(m_observers, observer);
    m_play.removeObserver(*observer);
    syncTimers();
}

void MainWindow::addTimeKeeper(script::PlayObserver &observer)
{
    m_play.addObserver(observer);
    ++m_timeKeepers;
    syncTimers();
}

void MainWindow::removeTimeKeeper(script::PlayObserver &observer)
{
    m_play.removeObserver(observer);
    --m_timeKeepers;
    syncTimers();
}

template<typename Call>
void MainWindow::notify(Call &&call)
{
    // An observer may remove itself while it is told.
    const std::vector<EventObserver *> observers = m_observers;
    for (EventObserver *observer : observers)
        call(*observer);
}

void MainWindow::setTickSource(TickSource ticks)
{
    m_tickSource = ticks;
    syncTimers();
}

// ---------------------------------------------------------------------------------------------
// Platform

MsgBoxResult MainWindow::messageBox(std::string_view prompt, int style, std::string_view title)
{
    if (m_finished)
        return MsgBoxResult::Closed;

    // Whatever the procedure changed so far is on screen before the box opens.
    m_board->flushPending();
    MessageBox question(this, *m_boxStyle, toQString(prompt), style, toQString(title));
    QMessageBox &box = question.box();
    m_openBox = &box;
    ++m_modalDepth;
    m_play.boxOpened(style);
    notify([&box](EventObserver &o) { o.boxShown(box); });
    const bool yes = question.exec();
    --m_modalDepth;
    m_openBox.clear();

    if (m_finished)
        return MsgBoxResult::Closed;
    // The keys go back to the game window once the box is gone.
    activateWindow();
    const MsgBoxResult answer = yes ? MsgBoxResult::Yes : MsgBoxResult::No;
    m_play.answered(answer);
    return answer;
}

void MainWindow::endProgram()
{
    finish(0);
}

void MainWindow::runtimeError(int number, std::string_view description)
{
    std::fprintf(stderr, "quorvale: run-time error %d: %.*s\n", number,
                 static_cast<int>(description.size()), description.data());
    m_clock->stop();
    if (!m_finished) {
        ++m_modalDepth;
        QMessageBox::critical(
            this, toQString(m_maze.form().caption()),
            QStringLiteral("Run-time error '%1':\n\n%2").arg(number).arg(toQString(description)));
        --m_modalDepth;
    }
    finish(1);
}

void MainWindow::finish(int exitCode)
{
    if (m_finished)
        return;
    m_finished = true;
    m_clock->stop();
    if (m_openBox)
        m_openBox->reject();
    hide();
    emit programEnded(exitCode);
}

void MainWindow::propertyChanged(Element element, Property property)
{
    switch (kind(element)) {
    case ElementKind::Timer:
        syncTimers();
        return;
    case ElementKind::CommandButton:
    case ElementKind::TextBox:
        if (m_typing && property == Property::Text) {
            if (!std::exchange(m_cheatTextStale, true))
                QMetaObject::invokeMethod(this, &MainWindow::syncCheatText, Qt::QueuedConnection);
            return;
        }
        [[fallthrough]];
    case ElementKind::Frame:
        syncControl(element);
        if (property == Property::Visible || property == Property::Enabled)
            settleFocus(element);
        return;
    case ElementKind::OptionButton:
        if (property == Property::Value) {
            syncOptions();
            return;
        }
        syncControl(element);
        settleFocus(element);
        return;
    case ElementKind::Form:
    case ElementKind::Shape:
    case ElementKind::Wall:
    case ElementKind::Label:
        m_board->refresh(element);
        return;
    }
}

// ---------------------------------------------------------------------------------------------
// Keeping the widgets in step with the model

void MainWindow::syncControl(Element element)
{
    QWidget *widget = nullptr;
    switch (element) {
    case Element::cmdstart:
        widget = m_start;
        break;
    case Element::txtcheat:
        widget = m_cheat;
        syncCheatText();
        break;
    case Element::fraborder:
        widget = m_frame;
        break;
    default:
        widget = m_options[optionSlot(element)];
        break;
    }
    const Control &model = m_maze.control(element);
    widget->setVisible(model.visible());
    widget->setEnabled(model.enabled());
}

void MainWindow::syncCheatText()
{
    m_cheatTextStale = false;
    const QString text = QString::fromStdString(m_maze.cheatBox().text());
    if (m_cheat->text() != text)
        m_cheat->setText(text);
}

void MainWindow::syncOptions()
{
    for (const Element option : optionButtons) {
        QRadioButton *button = m_options[optionSlot(option)];
        // A button of an exclusive group refuses to be cleared while it is the checked one.
        button->setAutoExclusive(false);
        button->setChecked(m_maze.option(option).value());
        button->setAutoExclusive(true);
    }
}

// The clock runs while any timer is enabled, or while an observer keeps the time (a `wait` with
// every timer stopped changes nothing in the rules); a tick reaches only the enabled ones.
void MainWindow::syncTimers()
{
    const bool keepingTime =
        m_timeKeepers > 0 || std::any_of(m_observers.begin(), m_observers.end(),
                                         [](const EventObserver *o) { return o->keepsTime(); });
    const bool wanted = keepingTime || std::any_of(timers.begin(), timers.end(), [this](Element t) {
                            return m_maze.timer(t).enabled();
                        });
    if (m_tickSource == TickSource::Manual || m_finished || !wanted)
        m_clock->stop();
    else
        m_clock->start();
}

// A hidden or disabled control gives up the focus to the next one in tab order that can take it,
// else to the board, where every key goes to the game. Showing the start button gives it the
// focus, so Enter or Space starts play after every reset.
void MainWindow::settleFocus(Element changed)
{
    const auto canFocus = [this](QWidget *w) {
        return w->isVisibleTo(this) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus);
    };
    if (changed == Element::cmdstart && canFocus(m_start)) {
        m_start->setFocus();
        return;
    }
    QWidget *current = focusWidget();
    if (current && current != m_board && canFocus(current))
        return;
    for (QWidget *w = m_start;;) {
        if (canFocus(w)) {
            w->setFocus();
            return;
        }
        w = w->nextInFocusChain();
        if (w == m_start)
            break;
    }
    m_board->setFocus();
}

} // namespace quorvale::ui
