#include "apply.h"

#include <algorithm>
#include <type_traits>
#include <utility>

namespace quorvale::script {

void apply(Command command, Sink &sink)
{
    std::visit(
        [&sink](auto &c) {
            using T = std::decay_t<decltype(c)>;
            if constexpr (std::is_same_v<T, KeyCommand>) {
                sink.key(c.keyCode);
            } else if constexpr (std::is_same_v<T, ClickCommand>) {
                sink.click(c.target);
            } else if constexpr (std::is_same_v<T, TickCommand>) {
                sink.tick(c.timer);
            } else if constexpr (std::is_same_v<T, WaitCommand>) {
                sink.wait(c.ticks);
            } else if constexpr (std::is_same_v<T, TextCommand>) {
                sink.text(std::move(c.text));
            } else if constexpr (std::is_same_v<T, TypeCommand>) {
                std::string_view rest = c.text;
                while (!rest.empty() && !sink.done()) {
                    // The parser let only UTF-8 through; a length of 0 cannot happen.
                    const std::size_t length = std::max<std::size_t>(codePointLength(rest), 1);
                    sink.append(rest.substr(0, length));
                    rest.remove_prefix(length);
                }
            } else if constexpr (std::is_same_v<T, AnswerCommand>) {
                sink.queueAnswers(std::move(c.answers));
            } else if constexpr (std::is_same_v<T, DumpCommand>) {
                sink.dump();
            } else {
                static_assert(std::is_same_v<T, CloseCommand>, "every command needs its case here");
                sink.close();
            }
        },
        command);
}

} // namespace quorvale::script
