// A message box must wait for the player inside the procedure that opened it, as the window's
// does, so the build suspends the call (Asyncify) until the page's dialog is answered; while it
// waits, no other event gets through.

#include "webplatform.h"

#include "play.h"

#include <emscripten.h>

#include <utility>

namespace quorvale::web {

namespace {

// The dialog, in the page; resolves to 6 (Yes) or 7 (No), or 0 once the game has been left.
// clang-format off
EM_ASYNC_JS(int, showMessageBox, (const char *prompt, int promptLength, int style,
                                  const char *title, int titleLength), {
    return await Module.quorvalePage.messageBox(UTF8ToString(prompt, promptLength), style,
                                                UTF8ToString(title, titleLength));
});

EM_JS(void, announceEnd, (int status, const char *message, int messageLength), {
    Module.quorvalePage.programEnded(status, UTF8ToString(message, messageLength));
});

EM_JS(void, announceEventEndToPage, (int value), {
    Module.quorvalePage.eventEnded(value);
});
// clang-format on

} // namespace

void announceEventEnd(int value)
{
    announceEventEndToPage(value);
}

// The page's dialog answers 6 (Yes) or 7 (No); 0 says the window was closed behind it (a replay
// of a recording that ends so), which ends the program as it would the window's.
MsgBoxResult WebPlatform::messageBox(std::string_view prompt, int style, std::string_view title)
{
    if (m_ended)
        return MsgBoxResult::Closed;
    boxShown = true;
    boxOpen = true;
    m_play->boxOpened(style);
    const int answer = showMessageBox(prompt.data(), static_cast<int>(prompt.size()), style,
                                      title.data(), static_cast<int>(title.size()));
    boxOpen = false;
    if (m_ended)
        return MsgBoxResult::Closed;
    if (answer != 6 && answer != 7) {
        m_play->close(true);
        return MsgBoxResult::Closed;
    }
    const auto result = static_cast<MsgBoxResult>(answer);
    m_play->answered(result);
    return result;
}

void WebPlatform::endProgram()
{
    end(0, {});
}

void WebPlatform::runtimeError(int number, std::string_view description)
{
    end(1, "Run-time error '" + std::to_string(number) + "':\n\n" + std::string(description));
}

void WebPlatform::end(int status, const std::string &message)
{
    if (m_ended)
        return;
    m_ended = true;
    announceEnd(status, message.data(), static_cast<int>(message.size()));
}

void WebPlatform::propertyChanged(Element element, Property property)
{
    if (element == Element::txtcheat && property == Property::Text) {
        ++m_textWrites;
        if (!m_typing)
            textRewritten();
        return;
    }
    const bool drawn =
        isShape(element) || element == Element::frmmaze || element == Element::lblabout;
    m_changes |= drawn ? drawnChanged : controlsChanged;
}

void WebPlatform::beginTyping()
{
    m_typing = true;
    m_textWrites = 0;
}

void WebPlatform::endTyping(std::string_view codePoint, bool reached)
{
    m_typing = false;
    if (reached && m_textWrites == 1) {
        m_typed += codePoint;
        m_changes |= typedChanged;
    } else if (m_textWrites > 0) {
        textRewritten();
    }
}

// The page then reads the whole state, the text with it.
void WebPlatform::textRewritten()
{
    m_changes |= controlsChanged;
    m_typed.clear();
}

int WebPlatform::takeChanges()
{
    int changes = std::exchange(m_changes, 0);
    if ((changes & controlsChanged) != 0) {
        m_typed.clear();
        changes &= ~typedChanged;
    }
    return changes;
}

std::string WebPlatform::takeTyped()
{
    return std::exchange(m_typed, {});
}

} // namespace quorvale::web
