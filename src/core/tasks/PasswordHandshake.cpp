#include "core/tasks/PasswordHandshake.h"

void PasswordHandshake::answer()
{
    {
        std::lock_guard lock(m_mutex);
        m_passwordAnswered = true;
    }
    m_answered.notify_one();
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
    {
        std::lock_guard lock(m_mutex);
        m_stopped = true;
    }
    m_answered.notify_all();
}

void PasswordHandshake::reset()
{
    std::lock_guard lock(m_mutex);
    m_stopped = false;
    m_passwordAnswered = false;
}
