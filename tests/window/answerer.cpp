#include "answerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <utility>

namespace quorvale::ui::test {

namespace {

// The application lives from before the first test to after the last, and is gone before the
// program's own static objects are torn down.
class QtEnvironment : public ::testing::Environment
{
public:
    void SetUp() override { application(); }
    void TearDown() override { m_app.reset(); }

    QApplication &application()
    {
        if (!m_app)
            m_app = std::make_unique<QApplication>(m_argc, m_argv.data());
        return *m_app;
    }

private:
    int m_argc = 1;
    char m_name[13] = "window_tests";
    std::array<char *, 2> m_argv = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};

QtEnvironment *const environment = static_cast<QtEnvironment *>(
    ::testing::AddGlobalTestEnvironment(new QtEnvironment)); // owned by GoogleTest

} // namespace

QApplication &application()
{
    return environment->application();
}

BoxAnswerer::BoxAnswerer(std::vector<Answer> answers, Inspect inspect)
    : m_answers(std::move(answers)), m_inspect(std::move(inspect))
{
    connect(&m_poll, &QTimer::timeout, this, &BoxAnswerer::poll);
    m_poll.start(5);
}

void BoxAnswerer::poll()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (m_busy || !box || !box->isVisible())
        return;
    m_busy = true;
    QAbstractButton *def = box->defaultButton();
    m_seen.push_back({box->windowTitle(), box->text(), box->icon(), def ? def->text() : QString()});
    if (m_inspect)
        m_inspect(*box);

    Answer answer = Answer::No;
    if (m_seen.size() <= m_answers.size())
        answer = m_answers[m_seen.size() - 1];
    else
        ADD_FAILURE() << "unexpected message box " << box->windowTitle().toStdString();

    switch (answer) {
    case Answer::Yes:
        box->button(QMessageBox::Yes)->click();
        break;
    case Answer::No:
        box->button(QMessageBox::No)->click();
        break;
    case Answer::CloseWindow:
        box->parentWidget()->window()->close();
        break;
    }
    m_busy = false;
}

} // namespace quorvale::ui::test
