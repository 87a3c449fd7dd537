#include "gamerecording.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <utility>

namespace quorvale::ui {

std::unique_ptr<GameRecording> GameRecording::create(const std::string &path, std::string &error)
{
    errno = 0;
    auto file = std::make_unique<std::ofstream>(path, std::ios::binary | std::ios::trunc);
    if (!*file) {
        error = "cannot create " + path + ": " +
                (errno != 0 ? std::string(std::strerror(errno)) : std::string("unknown error"));
        return nullptr;
    }
    return std::make_unique<GameRecording>(std::move(file), path, std::cerr);
}

GameRecording::GameRecording(std::unique_ptr<std::ostream> out, std::string path,
                             std::ostream &warnings)
    : m_out(std::move(out)), m_path(std::move(path)), m_warnings(warnings),
      m_recorder(*m_out, "quorvale", QUORVALE_VERSION)
{
    check();
}

GameRecording::~GameRecording() = default;

void GameRecording::finish()
{
    m_recorder.finish();
    check();
}

void GameRecording::keyDelivered(std::int16_t keyCode)
{
    m_recorder.key(keyCode);
    check();
}

void GameRecording::clickDelivered(Clickable target)
{
    m_recorder.click(target);
    check();
}

void GameRecording::textDelivered(std::string_view text)
{
    m_recorder.text(text);
    check();
}

void GameRecording::codePointTyped(std::string_view codePoint)
{
    m_recorder.typed(codePoint);
    check();
}

void GameRecording::clockTicked()
{
    m_recorder.clockTick();
    check();
}

void GameRecording::timerTicked(Element timer)
{
    m_recorder.tick(timer);
    check();
}

void GameRecording::closeDelivered(bool boxOpen)
{
    m_recorder.close(boxOpen);
    check();
}

void GameRecording::boxAnswered(MsgBoxResult answer)
{
    m_recorder.answered(answer);
}

void GameRecording::check()
{
    if (m_recorder.good() || m_warned)
        return;
    m_warned = true;
    const int error = errno;
    m_warnings << "quorvale: warning: cannot write to " << m_path << ": "
               << (error != 0 ? std::strerror(error) : "write failed")
               << "; the recording stops here, the game goes on" << std::endl;
}

} // namespace quorvale::ui
