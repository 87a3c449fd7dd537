#pragma once

#include <vector>

class QRadioButton;
class QWidget;

namespace quorvale::ui {

// Tab, or Shift+Tab, into a group of option buttons lands on the chosen one, and on the first in
// the tab order while none is chosen, as radio groups do on every desktop: the group is one stop
// of the tab order, and the arrows move within it. Qt already makes it one stop, but enters it
// at whichever button comes first in the direction of travel.
class RadioGroupFocus
{
public:
    // `buttons` in their tab order.
    explicit RadioGroupFocus(std::vector<QRadioButton *> buttons);

    // Tab (`forwards`) or Shift+Tab has just moved the focus away from `before`; if it entered the
    // group, the focus goes on to the button the group is entered at.
    void tabbed(const QWidget *before, bool forwards) const;

private:
    QRadioButton *entry() const;
    bool isMember(const QWidget *widget) const;

    std::vector<QRadioButton *> m_buttons;
};

} // namespace quorvale::ui
