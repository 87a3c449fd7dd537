#include "radiogroupfocus.h"

#include <QApplication>
#include <QFocusEvent>
#include <QRadioButton>

#include <algorithm>
#include <utility>

namespace quorvale::ui {

namespace {

bool canTakeFocus(const QWidget *button)
{
    return button->isVisibleTo(button->window()) && button->isEnabled() &&
           (button->focusPolicy() & Qt::TabFocus);
}

} // namespace

RadioGroupFocus::RadioGroupFocus(const std::vector<QRadioButton *> &buttons, QObject *parent)
    : QObject(parent)
{
    for (QRadioButton *button : buttons) {
        m_buttons.emplace_back(button);
        button->installEventFilter(this);
    }
}

// The chosen button if it can take the focus, else the first that can.
QRadioButton *RadioGroupFocus::entry() const
{
    for (const QPointer<QRadioButton> &button : m_buttons) {
        if (button && button->isChecked() && canTakeFocus(button))
            return button;
    }
    for (const QPointer<QRadioButton> &button : m_buttons) {
        if (button && canTakeFocus(button))
            return button;
    }
    return nullptr;
}

bool RadioGroupFocus::isMember(const QObject *object) const
{
    return std::any_of(m_buttons.begin(), m_buttons.end(),
                       [object](const QPointer<QRadioButton> &b) { return b == object; });
}

bool RadioGroupFocus::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut) {
        // Qt names the widget taking the focus before it tells the one losing it.
        m_movingWithin = isMember(QApplication::focusWidget());
        return QObject::eventFilter(watched, event);
    }
    if (event->type() != QEvent::FocusIn)
        return QObject::eventFilter(watched, event);
    // The arrows move within the group, and Qt gives those moves a Tab reason too.
    if (std::exchange(m_movingWithin, false))
        return QObject::eventFilter(watched, event);
    const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
    if (reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason)
        return QObject::eventFilter(watched, event);
    QRadioButton *target = entry();
    if (!target || target == watched)
        return QObject::eventFilter(watched, event);
    target->setFocus(reason);
    return true;
}

} // namespace quorvale::ui
