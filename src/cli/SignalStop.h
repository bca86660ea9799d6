#pragma once
// Ends the command line's work in order on SIGINT, SIGTERM and SIGHUP: the running qpdf is
// killed through the jobs' process slot, so the job fails the usual way and removes its
// hidden files, and no further job starts.

#include "core/converter/ProcessSlot.h"

#include <atomic>

class SignalStop {
public:
    // Must be called before any other thread starts: the signals are blocked here and taken
    // by a watcher thread of their own.
    explicit SignalStop(Converter::ProcessSlot& slot);

    // The signal that stopped the work, 0 for none.
    int signal() const { return m_signal.load(); }

private:
    std::atomic<int> m_signal{0};
};
