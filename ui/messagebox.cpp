#include "messagebox.h"

#include "pictures.h"
#include "platform.h"

#include <QEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>

namespace quorvale::ui {

namespace {

// The question has only Yes and No, and the game must get one of them: Escape and the box's own
// close button, which Qt would take as No (and so as the end of the program), do nothing.
class AnswerRequired : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Close) {
            event->ignore();
            return true;
        }
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_Escape) {
                event->accept();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

QMessageBox::Icon iconForStyle(int style)
{
    switch (style & pictures::boxIconBits) {
    case 16:
        return QMessageBox::Critical;
    case 32:
        return QMessageBox::Question;
    case vbExclamation:
        return QMessageBox::Warning;
    case vbInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// QMessageBox sizes itself for its text and buttons only, and a box as narrow as "GAME OVER"'s or
// the win box has less room in its title bar than its title needs: the window manager (openbox's
// default theme, say) cuts " Congratulations" to "Cong…tions", and on Wayland, where Qt draws
// the title bar itself, centred across the bar in a 14-pixel font, "GAME OVER" became "GAME Ov".
// A strut across the box's grid keeps room for the title in the title bar's font, with the
// window icon on one side and the three buttons on the other.
void makeRoomForTitle(QMessageBox &box)
{
    constexpr int besideTitle = 80; // the icon one side, the buttons the other, with spacing
    QFont titleFont;
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        titleFont = box.font();
        titleFont.setPixelSize(14);
    } else {
        // The desktop's title font where its theme tells Qt; window managers draw titles bold.
        titleFont = QFontDatabase::systemFont(QFontDatabase::TitleFont);
        titleFont.setBold(true);
    }
    const int width =
        QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + 2 * besideTitle;
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
}

} // namespace

MessageBox::MessageBox(QWidget *parent, QStyle &iconStyle, const QString &prompt, int style,
                       const QString &title)
    : m_box(parent), m_answerRequired(std::make_unique<AnswerRequired>())
{
    m_box.setWindowModality(Qt::ApplicationModal);
    m_box.setWindowTitle(title);
    m_box.setTextFormat(Qt::PlainText);
    m_box.setText(prompt);
    // Before the icon, which is drawn when set, by the box's style.
    m_box.setStyle(&iconStyle);
    m_box.setIcon(iconForStyle(style));
    m_yes = m_box.addButton(QMessageBox::Yes);
    m_box.addButton(QMessageBox::No);
    m_box.setDefaultButton(m_yes);
    makeRoomForTitle(m_box);
    m_box.installEventFilter(m_answerRequired.get());
    for (QAbstractButton *button : m_box.buttons())
        button->installEventFilter(m_answerRequired.get());
}

MessageBox::~MessageBox() = default;

bool MessageBox::exec()
{
    m_box.exec();
    return m_box.clickedButton() == m_yes;
}

} // namespace quorvale::ui
