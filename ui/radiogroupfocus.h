#pragma once

#include <QObject>
#include <QPointer>

#include <vector>

class QRadioButton;

namespace quorvale::ui {

// Tab, or Shift+Tab, into a group of option buttons lands on the chosen one, and on the first in
// the tab order while none is chosen, as radio groups do on every desktop: the group is one stop
// of the tab order, and the arrows move within it. Qt already makes it one stop, but enters it
// at whichever button comes first in the direction of travel.
class RadioGroupFocus : public QObject
{
public:
    // `buttons` in their tab order; watched from here on, until this is destroyed.
    RadioGroupFocus(const std::vector<QRadioButton *> &buttons, QObject *parent);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QRadioButton *entry() const;
    bool isMember(const QObject *object) const;

    std::vector<QPointer<QRadioButton>> m_buttons;
    bool m_movingWithin = false; // the focus is going from one button of the group to another
};

} // namespace quorvale::ui
