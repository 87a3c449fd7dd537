#pragma once

#include "cheatcodes.h"
#include "clickable.h"
#include "elementclasses.h"
#include "platform.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace quorvale {

// Virtual-key codes of the arrow keys.
inline constexpr std::int16_t vbKeyLeft = 37;
inline constexpr std::int16_t vbKeyUp = 38;
inline constexpr std::int16_t vbKeyRight = 39;
inline constexpr std::int16_t vbKeyDown = 40;

inline constexpr std::string_view aboutText =
    " Quorvale Programmed By Tamberlin,    HOW TO PLAY: use The arrow Keys To move ,    watch "
    "out the black balls and walls,      Make It To the Pink ball to win  ";

// The ten form-level integers, in the order they are declared.
struct FormVariables
{
    std::int16_t ball1down;
    std::int16_t ball2down;
    std::int16_t youleft;
    std::int16_t youright;
    std::int16_t youtop;
    std::int16_t youbottom;
    std::int16_t goalleft;
    std::int16_t goalright;
    std::int16_t goaltop;
    std::int16_t goalbottom;

    friend bool operator==(const FormVariables &, const FormVariables &) = default;
};

// The window frmmaze: its elements, its ten integers and its procedures.
//
// The public entry points are the events a platform delivers. They apply the rules of delivery
// (a hidden button takes no click, a stopped timer no tick, ...) in this one place, so the window
// and the script driver cannot disagree on them. Once the program has ended, nothing is delivered.
class Maze final : private ChangeListener
{
public:
    explicit Maze(Platform &platform);
    Maze(const Maze &) = delete;
    Maze &operator=(const Maze &) = delete;
    ~Maze() = default;

    // Each returns whether the event reached a procedure.
    bool keyDown(std::int16_t keyCode, std::int16_t shift = 0);
    bool click(Clickable target);
    bool tick(Element timer);
    // The player edits the cheat box so that its whole text becomes `text` (UTF-8).
    bool editText(std::string text);
    // The same as editText(cheatBox().text() + more), in time that does not grow with the text
    // already there: typing a long text one character at a time stays linear.
    bool appendText(std::string_view more);
    // The player closes the window.
    void close();

    bool ended() const { return m_ended; }
    // Whether a click of `target` would be delivered now.
    bool canClick(Clickable target) const;

    // Each accessor answers only for the elements it holds; asked for any other, it stops the
    // program (see elementNotHeld).
    const FormElement &form() const { return frmmaze; }
    const ShapeElement &shape(Element e) const;
    const Control &control(Element e) const;
    const TextBox &cheatBox() const { return txtcheat; }
    const OptionButton &option(Element e) const;
    const Label &label() const { return lblabout; }
    const Timer &timer(Element e) const;
    FormVariables variables() const;

private:
    void propertyChanged(Element element, Property property) override;

    template<typename Procedure>
    bool deliver(Procedure &&procedure);
    void selectOption(OptionButton &selected);

    // Platform operations as the procedures use them.
    MsgBoxResult MsgBox(std::string_view prompt, int buttons, std::string_view title);
    [[noreturn]] void End();
    [[noreturn]] void raiseError(int number, std::string_view description);
    std::int16_t CInt(float value);

    // Event procedures.
    void Form_KeyDown(std::int16_t &KeyCode, std::int16_t Shift);
#define QUORVALE_CLICK_PROCEDURE(name, kind, menu, caption) void name##_Click();
    QUORVALE_CLICKABLES(QUORVALE_CLICK_PROCEDURE)
#undef QUORVALE_CLICK_PROCEDURE
    void Timer1_Timer();
    void Timer2_Timer();
    void txtcheat_Change();

    // What each code of the cheat box does, before the box is cleared.
#define QUORVALE_CHEAT_EFFECT(code, kind) void cheat_##code();
    QUORVALE_CHEAT_CODES(QUORVALE_CHEAT_EFFECT)
#undef QUORVALE_CHEAT_EFFECT

    // The form's own procedures.
    void LoseGame();
    void WinGame();
    void CheckVerticalWalls();
    void CheckHorizontalWalls();

    enum class Reset { StartOver, PlayAgain };
    void askToPlayAgain(std::string_view prompt, int buttons, std::string_view title);
    void resetBoard(Reset kind);
    void moveBall(ShapeElement &ball, std::int16_t &down, float step, const ShapeElement &turnWall);
    ShapeElement &shp(int number)
    {
        return m_shapes[shapeSlot(wall(number))];
    }
    OptionButton &optionButton(Element e);

    Platform &m_platform;
    bool m_ended = false;

    // Elements of one kind are kept together, so that they can be found by their id; the
    // procedures use them by name.
    std::array<ShapeElement, shapeElements.size()> m_shapes;
    std::array<OptionButton, optionButtons.size()> m_options;
    std::array<Timer, timers.size()> m_timers;

    FormElement frmmaze;
    ShapeElement &shpborder = m_shapes[shapeSlot(Element::shpborder)];
    ShapeElement &shpyou = m_shapes[shapeSlot(Element::shpyou)];
    ShapeElement &shpgoal = m_shapes[shapeSlot(Element::shpgoal)];
    ShapeElement &shpball1 = m_shapes[shapeSlot(Element::shpball1)];
    ShapeElement &shpball2 = m_shapes[shapeSlot(Element::shpball2)];
    ShapeElement &shpstop1 = m_shapes[shapeSlot(Element::shpstop1)];
    ShapeElement &shpstop2 = m_shapes[shapeSlot(Element::shpstop2)];
    Control cmdstart;
    TextBox txtcheat;
    Control fraborder;
    OptionButton &optred = m_options[slotOf(Element::optred)];
    OptionButton &optgreen = m_options[slotOf(Element::optgreen)];
    OptionButton &optblue = m_options[slotOf(Element::optblue)];
    OptionButton &optyellow = m_options[slotOf(Element::optyellow)];
    Label lblabout;
    Timer &Timer1 = m_timers[slotOf(Element::Timer1)];
    Timer &Timer2 = m_timers[slotOf(Element::Timer2)];

    std::int16_t ball1down = 0;
    std::int16_t ball2down = 0;
    std::int16_t youleft = 0;
    std::int16_t youright = 0;
    std::int16_t youtop = 0;
    std::int16_t youbottom = 0;
    std::int16_t goalleft = 0;
    std::int16_t goalright = 0;
    std::int16_t goaltop = 0;
    std::int16_t goalbottom = 0;
};

} // namespace quorvale
