#include "SignalStop.h"

#include <csignal>
#include <thread>

SignalStop::SignalStop(Converter::ProcessSlot& slot)
{
    sigset_t stopping;
    sigemptyset(&stopping);
    sigaddset(&stopping, SIGINT);
    sigaddset(&stopping, SIGTERM);
    sigaddset(&stopping, SIGHUP);
    ::pthread_sigmask(SIG_BLOCK, &stopping, nullptr);
    // Detached: it lives as long as the process, which exits while it waits.
    std::thread([this, &slot, stopping] {
        int received = 0;
        while (::sigwait(&stopping, &received) != 0) {
        }
        m_signal.store(received);
        slot.close();
    }).detach();
}
