#pragma once
// A stack of its own for the signal handlers of one thread. A thread that overflows its stack
// has no room left there for the crash handler, so without one the kernel ends the process
// before the reporter starts. The alternate stack is per thread: every thread the program
// starts installs one for as long as it runs.

#include "core/common/NonCopyable.h"
#include <cstddef>
#include <functional>
#include <thread>

class AlternateSignalStack : private NonCopyable {
public:
    // Installs a stack for the calling thread, unless the thread has one already.
    AlternateSignalStack();
    // Takes it down again (only the one this object installed) and frees it.
    ~AlternateSignalStack();

    // True when this object installed a stack.
    bool installed() const { return m_memory != nullptr; }
    // True when the calling thread has an alternate stack now.
    static bool threadHasOne();

    // A new thread that runs work with an alternate stack of its own.
    static std::thread start(std::function<void()> work);

private:
    void* m_memory = nullptr;
    std::size_t m_size = 0;
};
