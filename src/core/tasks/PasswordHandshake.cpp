#include "core/tasks/PasswordHandshake.h"

void PasswordHandshake::answer()
{
    raise(m_passwordAnswered);
}

bool PasswordHandshake::waitForAnswer()
{
    std::unique_lock lock(m_mutex);
    m_answered.wait(lock, [this] { return m_passwordAnswered || m_stopped; });
    const bool answered = m_passwordAnswered;
    m_passwordAnswered = false;
    return answered && !m_stopped;
}

void PasswordHandshake::stop()
{
    raise(m_stopped);
}

void PasswordHandshake::raise(bool& flag)
{
    {
        std::lock_guard lock(m_mutex);
        flag = true;
    }
    m_answered.notify_all();
}

void PasswordHandshake::reset()
{
    std::lock_guard lock(m_mutex);
    m_stopped = false;
    m_passwordAnswered = false;
}
