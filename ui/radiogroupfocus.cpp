#include "radiogroupfocus.h"

#include <QApplication>
#include <QRadioButton>

#include <algorithm>
#include <utility>

namespace quorvale::ui {

namespace {

// Not the focus policy: Qt keeps Tab focus for one button of an exclusive group at a time, and
// moves it around as the focus moves.
bool canTakeFocus(const QWidget *button)
{
    return button->isVisibleTo(button->window()) && button->isEnabled();
}

} // namespace

RadioGroupFocus::RadioGroupFocus(std::vector<QRadioButton *> buttons)
    : m_buttons(std::move(buttons))
{}

bool RadioGroupFocus::isMember(const QWidget *widget) const
{
    return std::find(m_buttons.begin(), m_buttons.end(), widget) != m_buttons.end();
}

// The chosen button if it can take the focus, else the first that can.
QRadioButton *RadioGroupFocus::entry() const
{
    for (QRadioButton *button : m_buttons) {
        if (button->isChecked() && canTakeFocus(button))
            return button;
    }
    const auto first = std::find_if(m_buttons.begin(), m_buttons.end(), canTakeFocus);
    return first == m_buttons.end() ? nullptr : *first;
}

void RadioGroupFocus::tabbed(const QWidget *before, bool forwards) const
{
    const QWidget *now = QApplication::focusWidget();
    if (!isMember(now) || isMember(before))
        return;
    if (QRadioButton *target = entry(); target && target != now)
        target->setFocus(forwards ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

} // namespace quorvale::ui
