#include "windowtest.h"

#include <QMetaEnum>
#include <QPushButton>

#include <optional>

namespace quorvale::ui::test {

void BoxAnswerer::poll()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (m_busy || !box || !box->isVisible())
        return;
    m_busy = true;
    const QPushButton *def = box->defaultButton();
    m_seen << QStringLiteral("%1 | %2 | %3 | %4")
                  .arg(box->windowTitle(), box->text(),
                       QMetaEnum::fromType<QMessageBox::Icon>().valueToKey(box->icon()),
                       def ? QString(def->text()).remove(QLatin1Char('&')) : QString());
    if (m_inspect)
        m_inspect(*box);
    QMessageBox::StandardButton answer = QMessageBox::Close;
    if (const auto n = static_cast<std::size_t>(m_seen.size()); n <= m_answers.size()) {
        answer = m_answers[n - 1];
    } else {
        // Closing the window ends the game, so no further box can open and whatever waits for
        // the end stops waiting: the test fails here, not at CTest's timeout.
        ADD_FAILURE() << "a message box more than expected: " << m_seen.back().toStdString();
    }
    if (answer == QMessageBox::Close)
        box->parentWidget()->window()->close();
    else
        box->button(answer)->click();
    m_busy = false;
}

} // namespace quorvale::ui::test

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests, as the build does, needs no display.
    std::optional<QApplication> app;
    if (!GTEST_FLAG_GET(list_tests))
        app.emplace(argc, argv);
    return RUN_ALL_TESTS();
}
