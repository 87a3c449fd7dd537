#include "maze.h"

#include "conversion.h"

#include <utility>

namespace quorvale {

namespace {

// Unwinds a procedure, and everything that called it, back to the event that started it once the
// program has ended: nothing of the game may run after that.
struct ProgramEnded
{};

constexpr std::int16_t True = -1;
constexpr std::int16_t False = 0;
constexpr float step = 200.0F;

constexpr int errOverflow = 6;

// The vertical walls in the order they are tested.
constexpr std::array<int, 24> verticalWalls = {5,  3,  10, 7,  9,  12, 14, 13, 26, 27, 28, 29,
                                               30, 31, 32, 33, 34, 36, 37, 38, 39, 35, 40, 41};
// The horizontal walls in the order they are tested.
constexpr std::array<int, 17> horizontalWalls = {4,  6,  8,  11, 1,  15, 16, 2, 17,
                                                 18, 19, 20, 21, 22, 23, 24, 25};

// Whether (x, y) lies inside the shape's rectangle, edges included. Sums are single precision.
bool contains(const ShapeElement &s, float x, float y)
{
    return s.left() <= x && x <= s.left() + s.width() && s.top() <= y && y <= s.top() + s.height();
}

template<std::size_t... I>
std::array<ShapeElement, sizeof...(I)> makeShapes(ChangeListener &listener,
                                                  std::index_sequence<I...>)
{
    return {ShapeElement(shapeElements[I], layout::shapeLayout(shapeElements[I]), listener)...};
}

template<std::size_t... I>
std::array<OptionButton, sizeof...(I)> makeOptions(ChangeListener &listener,
                                                   std::index_sequence<I...>)
{
    return {OptionButton(optionButtons[I], layout::controlLayout(optionButtons[I]),
                         caption(optionButtons[I]), listener)...};
}

template<std::size_t... I>
std::array<Timer, sizeof...(I)> makeTimers(ChangeListener &listener, std::index_sequence<I...>)
{
    return {Timer(timers[I], listener)...};
}

} // namespace

Maze::Maze(Platform &platform)
    : m_platform(platform),
      m_shapes(makeShapes(*this, std::make_index_sequence<shapeElements.size()>{})),
      m_options(makeOptions(*this, std::make_index_sequence<optionButtons.size()>{})),
      m_timers(makeTimers(*this, std::make_index_sequence<timers.size()>{})), frmmaze(*this),
      cmdstart(Element::cmdstart, layout::cmdstart, *this),
      txtcheat(Element::txtcheat, layout::txtcheat, *this),
      fraborder(Element::fraborder, layout::fraborder, *this), lblabout(*this)
{}

// ---------------------------------------------------------------------------------------------
// Delivery

template<typename Procedure>
bool Maze::deliver(Procedure &&procedure)
{
    if (m_ended)
        return false;
    try {
        std::forward<Procedure>(procedure)();
    } catch (const ProgramEnded &) {
        // The program ended somewhere inside; the rest of the event is dropped on purpose.
    }
    return true;
}

bool Maze::keyDown(std::int16_t keyCode, std::int16_t shift)
{
    return deliver([&] { Form_KeyDown(keyCode, shift); });
}

bool Maze::canClick(Clickable target) const
{
    if (m_ended)
        return false;
    switch (info(target).kind) {
    case ClickableKind::CommandButton:
        return cmdstart.visible() && cmdstart.enabled();
    case ClickableKind::OptionButton: {
        const OptionButton &opt = option(*elementOf(target));
        return fraborder.visible() && opt.visible() && opt.enabled();
    }
    case ClickableKind::MenuItem:
        return true; // menu items are always enabled and visible
    }
    return false;
}

bool Maze::click(Clickable target)
{
    if (!canClick(target))
        return false;
    static constexpr std::array<void (Maze::*)(), clickableCount> procedures = {
#define QUORVALE_CLICK_PROCEDURE(name, kind, menu, caption) &Maze::name##_Click,
        QUORVALE_CLICKABLES(QUORVALE_CLICK_PROCEDURE)
#undef QUORVALE_CLICK_PROCEDURE
    };
    return deliver([&] {
        if (info(target).kind == ClickableKind::OptionButton)
            selectOption(optionButton(*elementOf(target)));
        (this->*procedures[static_cast<std::size_t>(target)])();
    });
}

// The group behaves like any set of radio buttons: the one chosen is set before its click runs,
// and choosing the one already set runs its click again.
void Maze::selectOption(OptionButton &selected)
{
    for (OptionButton &opt : m_options) {
        if (&opt != &selected)
            opt.setValue(false);
    }
    selected.setValue(true);
}

bool Maze::tick(Element timer)
{
    static_assert(timers.size() == 2, "each timer needs its procedure here");
    switch (timer) {
    case Element::Timer1:
        return Timer1.enabled() && deliver([&] { Timer1_Timer(); });
    case Element::Timer2:
        return Timer2.enabled() && deliver([&] { Timer2_Timer(); });
    default:
        return false; // only a timer ticks
    }
}

bool Maze::editText(std::string text)
{
    if (m_ended || !txtcheat.visible() || !txtcheat.enabled() || text == txtcheat.text())
        return false;
    // The change notice of this write runs txtcheat_Change.
    return deliver([&] { txtcheat.setText(std::move(text)); });
}

bool Maze::appendText(std::string_view more)
{
    if (m_ended || !txtcheat.visible() || !txtcheat.enabled() || more.empty())
        return false;
    return deliver([&] { txtcheat.appendText(more); });
}

void Maze::close()
{
    deliver([&] { End(); });
}

void Maze::propertyChanged(Element element, Property property)
{
    m_platform.propertyChanged(element, property);
    if (element == Element::txtcheat && property == Property::Text)
        txtcheat_Change();
}

// ---------------------------------------------------------------------------------------------
// Read access

const ShapeElement &Maze::shape(Element e) const
{
    if (!isShape(e))
        elementNotHeld("shape()", e);
    return m_shapes[shapeSlot(e)];
}

const Control &Maze::control(Element e) const
{
    switch (kind(e)) {
    case ElementKind::CommandButton:
        return cmdstart;
    case ElementKind::TextBox:
        return txtcheat;
    case ElementKind::Frame:
        return fraborder;
    case ElementKind::OptionButton:
        return option(e);
    case ElementKind::Form:
    case ElementKind::Shape:
    case ElementKind::Wall:
    case ElementKind::Label:
    case ElementKind::Timer:
        break;
    }
    elementNotHeld("control()", e);
}

const OptionButton &Maze::option(Element e) const
{
    if (kind(e) != ElementKind::OptionButton)
        elementNotHeld("option()", e);
    return m_options[slotOf(e)];
}

OptionButton &Maze::optionButton(Element e)
{
    if (kind(e) != ElementKind::OptionButton)
        elementNotHeld("optionButton()", e);
    return m_options[slotOf(e)];
}

const Timer &Maze::timer(Element e) const
{
    if (kind(e) != ElementKind::Timer)
        elementNotHeld("timer()", e);
    return m_timers[slotOf(e)];
}

FormVariables Maze::variables() const
{
    return {ball1down, ball2down, youleft,   youright, youtop,
            youbottom, goalleft,  goalright, goaltop,  goalbottom};
}

// ---------------------------------------------------------------------------------------------
// Platform operations

MsgBoxResult Maze::MsgBox(std::string_view prompt, int buttons, std::string_view title)
{
    const MsgBoxResult answer = m_platform.messageBox(prompt, buttons, title);
    // The window may have been closed while the box was open.
    if (m_ended || answer == MsgBoxResult::Closed)
        End();
    return answer;
}

void Maze::End()
{
    if (!m_ended) {
        m_ended = true;
        m_platform.endProgram();
    }
    throw ProgramEnded{};
}

void Maze::raiseError(int number, std::string_view description)
{
    if (!m_ended) {
        m_ended = true;
        m_platform.runtimeError(number, description);
    }
    throw ProgramEnded{};
}

// Anything outside the 16-bit range is an overflow, never a wrapped value.
std::int16_t Maze::CInt(float value)
{
    const auto integer = roundToInteger(value);
    if (!integer)
        raiseError(errOverflow, "Overflow");
    return *integer;
}

// ---------------------------------------------------------------------------------------------
// The key-press turn

void Maze::Form_KeyDown(std::int16_t &KeyCode, [[maybe_unused]] std::int16_t Shift)
{
    youleft = CInt(shpyou.left());
    youright = CInt(shpyou.width() + shpyou.left());
    youtop = CInt(shpyou.top());
    youbottom = CInt(shpyou.height() + shpyou.top());
    goalleft = CInt(shpgoal.left());
    goalright = CInt(shpgoal.width() + shpgoal.left());
    goaltop = CInt(shpgoal.top());
    goalbottom = CInt(shpgoal.height() + shpgoal.top());

    if (KeyCode == vbKeyUp)
        shpyou.setTop(shpyou.top() - step);
    if (KeyCode == vbKeyDown)
        shpyou.setTop(shpyou.top() + step);
    if (KeyCode == vbKeyLeft)
        shpyou.setLeft(shpyou.left() - step);
    if (KeyCode == vbKeyRight)
        shpyou.setLeft(shpyou.left() + step);

    CheckVerticalWalls();
    CheckHorizontalWalls();

    // Everything below judges where the piece stood before this key's step.
    if (goalleft <= youleft && youleft <= goalright && goaltop <= youtop && youtop <= goalbottom)
        WinGame();

    const bool offBoard = static_cast<float>(youleft) <= shpborder.left() ||
                          static_cast<float>(youtop) <= shpborder.top() ||
                          static_cast<float>(youright) >= shpborder.left() + shpborder.width() ||
                          static_cast<float>(youbottom) >= shpborder.top() + shpborder.height();
    if (offBoard)
        LoseGame();
}

// One corner of the piece, as recorded at the key press, against every vertical wall; each hit
// costs a game, and a hit does not stop the search.
void Maze::CheckVerticalWalls()
{
    for (const int number : verticalWalls) {
        // shp3 is the one wall tested against the piece's bottom-right corner.
        const std::int16_t x = number == 3 ? youright : youleft;
        if (contains(shp(number), static_cast<float>(x), static_cast<float>(youbottom)))
            LoseGame();
    }
}

void Maze::CheckHorizontalWalls()
{
    for (const int number : horizontalWalls) {
        if (contains(shp(number), static_cast<float>(youleft), static_cast<float>(youbottom)))
            LoseGame();
    }
}

// ---------------------------------------------------------------------------------------------
// The patrolling balls

// Moves one step and turns at the board's top or at the wall below; the turn is judged after the
// move and only shows on the next tick.
void Maze::moveBall(ShapeElement &ball, std::int16_t &down, float ballStep,
                    const ShapeElement &turnWall)
{
    if (down != False)
        ball.setTop(ball.top() + ballStep);
    else
        ball.setTop(ball.top() - ballStep);

    if (ball.top() <= shpborder.top())
        down = True;
    else if (ball.top() + ball.height() >= turnWall.top())
        down = False;
}

void Maze::Timer1_Timer()
{
    moveBall(shpball1, ball1down, 100.0F, shp(1));

    // Ball 1 looks at where the piece stood at the last key press, not where it stands now.
    if (shpstop1.left() <= static_cast<float>(youleft) &&
        static_cast<float>(youright) <= shpstop1.left() + shpstop1.width() &&
        shpstop1.top() <= static_cast<float>(youtop) &&
        static_cast<float>(youbottom) <= shpstop1.top() + shpstop1.height())
        Timer1.setEnabled(false);

    if (contains(shpball1, shpyou.left(), shpyou.top()))
        LoseGame();
}

void Maze::Timer2_Timer()
{
    moveBall(shpball2, ball2down, 200.0F, shp(2));

    if (shpstop2.left() <= shpyou.left() &&
        shpyou.left() + shpyou.width() <= shpstop2.left() + shpstop2.width() &&
        shpstop2.top() <= shpyou.top() &&
        shpyou.top() + shpyou.height() <= shpstop2.top() + shpstop2.height())
        Timer2.setEnabled(false);

    if (contains(shpball2, shpyou.left() + shpyou.width(), shpyou.top()))
        LoseGame();
}

// ---------------------------------------------------------------------------------------------
// Starting, losing, winning and starting over

void Maze::cmdstart_Click()
{
    cmdstart.setVisible(false);
    cmdstart.setEnabled(false);
    optblue.setVisible(false);
    optgreen.setVisible(false);
    optred.setVisible(false);
    optyellow.setVisible(false);
    txtcheat.setVisible(false);
    fraborder.setVisible(false);
    optyellow.setValue(false);
}

void Maze::mnufilestart_Click()
{
    resetBoard(Reset::StartOver);
}

void Maze::LoseGame()
{
    askToPlayAgain("Please Try Again", vbYesNo + vbExclamation, "GAME OVER");
}

void Maze::WinGame()
{
    askToPlayAgain("You Win Play Again", vbYesNo + vbInformation, " Congratulations");
}

// The question is always asked twice; only the second answer counts.
void Maze::askToPlayAgain(std::string_view prompt, int buttons, std::string_view title)
{
    MsgBox(prompt, buttons, title);
    if (MsgBox(prompt, buttons, title) == MsgBoxResult::Yes)
        resetBoard(Reset::PlayAgain);
    else
        End();
}

// Starting over keeps the board's colours; playing again after a loss or a win does not.
void Maze::resetBoard(Reset kind)
{
    shpyou.setLeft(static_cast<float>(layout::shpyou.left));
    shpyou.setTop(static_cast<float>(layout::shpyou.top));
    Timer1.setEnabled(true);
    Timer2.setEnabled(true);
    shpyou.setFillColor(colours::green);
    frmmaze.setBackColor(colours::darkRed);
    if (kind == Reset::PlayAgain) {
        shpborder.setFillColor(colours::scrollBars);
        shpborder.setBorderColor(colours::black);
    }
    optred.setVisible(true);
    optblue.setVisible(true);
    optgreen.setVisible(true);
    optyellow.setVisible(true);
    cmdstart.setEnabled(true);
    cmdstart.setVisible(true);
    txtcheat.setVisible(true);
    fraborder.setVisible(true);
}

// ---------------------------------------------------------------------------------------------
// Appearance, About and Quit

void Maze::mnueditshapesquare_Click()
{
    shpyou.setShape(ShapeKind::Square);
}

void Maze::mnueditshapecircle_Click()
{
    shpyou.setShape(ShapeKind::Circle);
}

void Maze::mnueditshapers_Click()
{
    shpyou.setShape(ShapeKind::RoundedSquare);
}

void Maze::mnueditballred_Click()
{
    shpyou.setFillColor(colours::red);
}

void Maze::mnueditballblue_Click()
{
    shpyou.setFillColor(colours::blue);
}

void Maze::mnueditballgreen_Click()
{
    shpyou.setFillColor(colours::green);
}

void Maze::mnueditbackyellow_Click()
{
    shpborder.setFillColor(colours::yellow);
}

void Maze::mnueditbackorange_Click()
{
    shpborder.setFillColor(colours::orange);
}

void Maze::optred_Click()
{
    shpborder.setBorderColor(colours::red);
}

void Maze::optgreen_Click()
{
    shpborder.setBorderColor(colours::green);
}

void Maze::optblue_Click()
{
    shpborder.setBorderColor(colours::blue);
}

void Maze::optyellow_Click()
{
    shpborder.setBorderColor(colours::yellow);
}

void Maze::mnuhelpabout_Click()
{
    lblabout.setCaption(std::string(aboutText));
}

void Maze::mnufilequit_Click()
{
    End();
}

// ---------------------------------------------------------------------------------------------
// The cheat box

// The codes are tried in order, and the text is read afresh before every comparison: clearing the
// box after a match runs this procedure again, nested, and the codes after a match must see the
// new text.
void Maze::txtcheat_Change()
{
    static constexpr std::array<void (Maze::*)(), cheatCodes.size()> effects = {
#define QUORVALE_CHEAT_EFFECT(code, kind) &Maze::cheat_##code,
        QUORVALE_CHEAT_CODES(QUORVALE_CHEAT_EFFECT)
#undef QUORVALE_CHEAT_EFFECT
    };
    for (std::size_t i = 0; i < cheatCodes.size(); ++i) {
        if (txtcheat.text() == cheatCodes[i]) {
            (this->*effects[i])();
            txtcheat.setText(" ");
        }
    }
}

void Maze::cheat_gusto()
{
    shpyou.setFillColor(colours::yellow);
    shpyou.setBorderColor(colours::green);
}

void Maze::cheat_Keen()
{
    shpborder.setFillColor(colours::veryDarkRed);
    shpyou.setFillColor(colours::veryDarkRed);
    shpyou.setBorderColor(colours::white);
}

void Maze::cheat_skipjump()
{
    shpyou.setTop(240.0F);
    shpyou.setLeft(8640.0F);
}

void Maze::cheat_iceclock()
{
    Timer1.setEnabled(false);
    Timer2.setEnabled(false);
}

void Maze::cheat_ghostlike()
{
    shpborder.setFillColor(colours::buttonText);
}

} // namespace quorvale
