#include "displayopening.h"

#include <QByteArray>
#include <QRegularExpression>
#include <QStringList>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace quorvale {

namespace {

// Qt's message handler is a plain function: the one guard in force is how it finds its state.
// Set and cleared only by the guard's constructor and destructor, on the main thread.
std::atomic<DisplayOpening *> &current()
{
    static std::atomic<DisplayOpening *> opening{nullptr};
    return opening;
}

void writeAll(int fd, const char *data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written <= 0)
            return;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

// The reason for the failure, from the messages Qt printed while failing, in their order.
std::string failureReason(const std::vector<QString> &messages)
{
    static const QRegularExpression noX(QStringLiteral("could not connect to display ?(.*)$"));
    static const QRegularExpression noWayland(QStringLiteral("^Failed to create wl_display"));
    static const QRegularExpression noPlugin(
        QStringLiteral("Could not find the Qt platform plugin \"([^\"]*)\""));
    static const QRegularExpression notLoaded(
        QStringLiteral("Could not load the Qt platform plugin \"([^\"]*)\""));

    QStringList reasons;
    QString fallback;
    for (const QString &message : messages) {
        if (const auto m = noX.match(message); m.hasMatch()) {
            const QString name = m.captured(1).trimmed();
            reasons << (name.isEmpty() ? QStringLiteral("no X display is set")
                                       : QStringLiteral("the X display %1 is not there or refused "
                                                        "the connection")
                                             .arg(name));
        } else if (noWayland.match(message).hasMatch()) {
            QString name = qEnvironmentVariable("WAYLAND_DISPLAY");
            if (name.isEmpty())
                name = QStringLiteral("wayland-0");
            reasons << QStringLiteral("no Wayland compositor at %1").arg(name);
        } else if (const auto p = noPlugin.match(message); p.hasMatch()) {
            reasons << QStringLiteral("there is no platform plugin \"%1\"").arg(p.captured(1));
        } else if (const auto l = notLoaded.match(message); l.hasMatch() && fallback.isEmpty()) {
            fallback =
                QStringLiteral("the platform plugin \"%1\" did not start").arg(l.captured(1));
        }
    }
    if (reasons.isEmpty())
        reasons << (fallback.isEmpty() ? QStringLiteral("the window system did not start")
                                       : fallback);
    reasons.removeDuplicates();
    return reasons.join(QStringLiteral("; ")).toStdString();
}

} // namespace

DisplayOpening::DisplayOpening()
{
    std::fflush(stderr);
    if (std::FILE *file = std::tmpfile()) {
        m_captured = ::dup(fileno(file));
        std::fclose(file);
    }
    if (m_captured >= 0) {
        // Without a copy of the real one, standard error stays as it is.
        m_stderr = ::dup(STDERR_FILENO);
        if (m_stderr < 0 || ::dup2(m_captured, STDERR_FILENO) < 0) {
            ::close(m_captured);
            m_captured = -1;
            if (m_stderr >= 0)
                ::close(m_stderr);
            m_stderr = -1;
        }
    }
    current().store(this);
    m_previous = qInstallMessageHandler(&DisplayOpening::handler);
}

DisplayOpening::~DisplayOpening()
{
    qInstallMessageHandler(m_previous);
    current().store(nullptr);
    release();
}

// The display opened: standard error back, with what was written to it meanwhile, and Qt's
// messages told as they would have been.
void DisplayOpening::release()
{
    std::fflush(stderr);
    if (m_captured >= 0) {
        ::dup2(m_stderr, STDERR_FILENO);
        ::close(m_stderr);
        char buffer[4096];
        ::lseek(m_captured, 0, SEEK_SET);
        for (ssize_t n; (n = ::read(m_captured, buffer, sizeof buffer)) > 0;)
            writeAll(STDERR_FILENO, buffer, static_cast<std::size_t>(n));
        ::close(m_captured);
        m_captured = -1;
    }
    for (const Held &held : m_held) {
        const QByteArray category = held.category.toUtf8();
        const QMessageLogContext context(nullptr, 0, nullptr, category.constData());
        if (m_previous)
            m_previous(held.type, context, held.text);
        else
            qt_message_output(held.type, context, held.text);
    }
    m_held.clear();
}

void DisplayOpening::handler(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    DisplayOpening *opening = current().load();
    if (!opening)
        return;
    if (type == QtFatalMsg)
        opening->fail();
    opening->m_held.push_back(
        {type, QString::fromUtf8(context.category ? context.category : ""), text});
}

void DisplayOpening::fail()
{
    std::vector<QString> messages;
    messages.reserve(m_held.size());
    for (const Held &held : m_held)
        messages.push_back(held.text);
    const std::string line = "quorvale: cannot open a display: " + failureReason(messages) + '\n';
    writeAll(m_stderr >= 0 ? m_stderr : STDERR_FILENO, line.data(), line.size());
    // Not exit(): Qt is halfway through its constructor, and nothing has been written that a
    // destructor would need to finish.
    std::_Exit(1);
}

} // namespace quorvale
