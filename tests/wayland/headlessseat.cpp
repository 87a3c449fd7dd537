// Linked into the window tests. weston's headless backend has no seat, so no keyboard focus ever
// reaches a window and Qt never calls one active; on a desktop the compositor gives each new
// top-level window the keyboard focus and hands it back to the window below when that one closes.
// With QUORVALE_TEST_HEADLESS_SEAT set (the Wayland run sets it), this plays that part.
#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace {

class HeadlessSeat : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (!widget || !widget->isWindow() || widget->windowType() == Qt::Popup ||
            widget->windowType() == Qt::ToolTip)
            return false;
        if (event->type() == QEvent::Show) {
            m_stack.push_back(widget);
            QApplication::setActiveWindow(widget);
        } else if (event->type() == QEvent::Hide) {
            std::erase_if(m_stack,
                          [widget](const QPointer<QWidget> &w) { return !w || w == widget; });
            if (!QApplication::activeWindow() || QApplication::activeWindow() == widget)
                QApplication::setActiveWindow(m_stack.empty() ? nullptr : m_stack.back().data());
        }
        return false;
    }

private:
    std::vector<QPointer<QWidget>> m_stack;
};

void installHeadlessSeat()
{
    if (qEnvironmentVariableIsSet("QUORVALE_TEST_HEADLESS_SEAT"))
        qApp->installEventFilter(new HeadlessSeat(qApp));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installHeadlessSeat)
