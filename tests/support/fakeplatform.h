#pragma once

// The one platform the tests, the fuzz targets and the benchmarks give the rules instead of a
// window. It needs no test framework, so a fuzz target can use it too.

#include "maze.h"

#include <algorithm>
#include <cstddef>
#include <deque>
#include <functional>
#include <initializer_list>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvale::testing {

struct MessageBoxShown
{
    std::string prompt;
    int style;
    std::string title;

    friend bool operator==(const MessageBoxShown &, const MessageBoxShown &) = default;
    friend std::ostream &operator<<(std::ostream &os, const MessageBoxShown &b)
    {
        return os << "{\"" << b.prompt << "\", " << b.style << ", \"" << b.title << "\"}";
    }
};

struct ChangeNotice
{
    Element element;
    Property property;

    friend bool operator==(const ChangeNotice &, const ChangeNotice &) = default;
    friend std::ostream &operator<<(std::ostream &os, const ChangeNotice &n)
    {
        return os << "{" << name(n.element) << ", " << static_cast<int>(n.property) << "}";
    }
};

inline const MessageBoxShown gameOverBox{"Please Try Again", vbYesNo + vbExclamation, "GAME OVER"};
inline const MessageBoxShown youWinBox{"You Win Play Again", vbYesNo + vbInformation,
                                       " Congratulations"};
inline constexpr MsgBoxResult Yes = MsgBoxResult::Yes;
inline constexpr MsgBoxResult No = MsgBoxResult::No;

// Message boxes are answered from a queue (Yes once it runs dry) or by a function of the test's;
// everything the rules ask of the platform is counted, and by default also recorded.
class FakePlatform final : public Platform
{
public:
    using Answerer = std::function<MsgBoxResult(const MessageBoxShown &)>;

    // Answers for the next boxes, one each.
    void answer(std::initializer_list<MsgBoxResult> a) { m_answers.insert(m_answers.end(), a); }
    // Decides every answer instead of the queue.
    void answerWith(Answerer answerer) { m_answerer = std::move(answerer); }
    // Runs inside every box while it is open, before the box is answered.
    void whileBoxIsOpen(std::function<void()> hook) { m_hook = std::move(hook); }
    // Runs on a run-time error; without one, the error is only counted.
    void onRuntimeError(std::function<void(int, std::string_view)> hook)
    {
        m_onError = std::move(hook);
    }
    // Off, only counts are kept: a long run that stored every notice would itself grow memory.
    void keepRecords(bool keep) { m_keepRecords = keep; }

    std::vector<MessageBoxShown> boxes;
    std::vector<ChangeNotice> notices;
    long boxCount = 0;
    long noticeCount = 0;
    long noticesAfterEnd = 0;
    int endCalls = 0;
    int errorCount = 0;
    int openBoxes = 0;    // boxes open right now, nested ones included
    int deepestBoxes = 0; // the most that were ever open at once

    MsgBoxResult messageBox(std::string_view prompt, int style, std::string_view title) override
    {
        MessageBoxShown box{std::string(prompt), style, std::string(title)};
        ++boxCount;
        ++openBoxes;
        deepestBoxes = std::max(deepestBoxes, openBoxes);
        if (m_keepRecords)
            boxes.push_back(box);
        if (m_hook)
            m_hook();
        MsgBoxResult answer = Yes;
        if (m_answerer) {
            answer = m_answerer(box);
        } else if (!m_answers.empty()) {
            answer = m_answers.front();
            m_answers.pop_front();
        }
        --openBoxes;
        return answer;
    }
    void endProgram() override { ++endCalls; }
    void runtimeError(int number, std::string_view description) override
    {
        ++errorCount;
        if (m_onError)
            m_onError(number, description);
    }
    void propertyChanged(Element e, Property p) override
    {
        ++noticeCount;
        noticesAfterEnd += endCalls > 0 ? 1 : 0;
        if (m_keepRecords)
            notices.push_back({e, p});
    }

private:
    std::deque<MsgBoxResult> m_answers;
    Answerer m_answerer;
    std::function<void()> m_hook;
    std::function<void(int, std::string_view)> m_onError;
    bool m_keepRecords = true;
};

} // namespace quorvale::testing
