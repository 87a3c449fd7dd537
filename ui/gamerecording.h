#pragma once

#include "eventobserver.h"
#include "recorder.h"

#include <iosfwd>
#include <memory>
#include <string>

namespace quorvale::ui {

// Records the game in the window to a file, as a script the driver replays exactly. A write that
// fails stops the recording with one warning; the game goes on.
class GameRecording final : public EventObserver
{
public:
    // Creates or truncates `path`; nullptr with the reason in `error` if it cannot.
    static std::unique_ptr<GameRecording> create(const std::string &path, std::string &error);

    GameRecording(std::unique_ptr<std::ostream> out, std::string path, std::ostream &warnings);
    ~GameRecording() override;

    // The game has ended: the last ticks and the closing `dump` are written.
    void finish();

    bool keepsTime() const override { return true; }
    void keyDelivered(std::int16_t keyCode) override;
    void clickDelivered(Clickable target) override;
    void textDelivered(std::string_view text) override;
    void codePointTyped(std::string_view codePoint) override;
    void clockTicked() override;
    void timerTicked(Element timer) override;
    void closeDelivered(bool boxOpen) override;
    void boxAnswered(MsgBoxResult answer) override;

private:
    void check();

    std::unique_ptr<std::ostream> m_out;
    std::string m_path;
    std::ostream &m_warnings;
    script::Recorder m_recorder;
    bool m_warned = false;
};

} // namespace quorvale::ui
