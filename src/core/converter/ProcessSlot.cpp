#include "core/converter/ProcessSlot.h"

#include <csignal>

namespace Converter {

void ProcessSlot::hold(pid_t pid)
{
    std::lock_guard lock(m_mutex);
    m_pid = pid;
    if (m_closed && pid > 0)
        ::kill(pid, SIGKILL);
}

void ProcessSlot::close()
{
    std::lock_guard lock(m_mutex);
    m_closed = true;
    if (m_pid > 0)
        ::kill(m_pid, SIGKILL);
}

bool ProcessSlot::closed() const
{
    std::lock_guard lock(m_mutex);
    return m_closed;
}

void ProcessSlot::release(pid_t pid)
{
    std::lock_guard lock(m_mutex);
    if (m_pid == pid)
        m_pid = 0;
}

bool ProcessSlot::terminate()
{
    // The lock keeps the runner from reaping the child between the check and the signal.
    std::lock_guard lock(m_mutex);
    if (m_pid <= 0)
        return false;
    return ::kill(m_pid, SIGKILL) == 0;
}

pid_t ProcessSlot::current() const
{
    std::lock_guard lock(m_mutex);
    return m_pid;
}

} // namespace Converter
