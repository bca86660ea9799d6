#include "core/common/AlternateSignalStack.h"

#include <algorithm>
#include <csignal>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// Room for the crash handler (which forks and waits for the reporter), with a margin.
constexpr std::size_t kUsableSize = 64 * 1024;

std::size_t pageSize()
{
    const long size = ::sysconf(_SC_PAGESIZE);
    return size > 0 ? static_cast<std::size_t>(size) : 4096;
}

} // namespace

AlternateSignalStack::AlternateSignalStack()
{
    if (threadHasOne())
        return;
    const std::size_t page = pageSize();
    long minimum = ::sysconf(_SC_MINSIGSTKSZ);
    const std::size_t usable = std::max<std::size_t>(kUsableSize, minimum > 0 ? 4 * static_cast<std::size_t>(minimum) : 0);
    const std::size_t rounded = (usable + page - 1) / page * page;
    // One inaccessible page below the stack: a handler that overflows it faults instead of
    // writing over whatever lies next to it.
    const std::size_t total = rounded + page;
    void* memory = ::mmap(nullptr, total, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_STACK, -1, 0);
    if (memory == MAP_FAILED)
        return;
    ::mprotect(memory, page, PROT_NONE);
    stack_t stack{};
    stack.ss_sp = static_cast<char*>(memory) + page;
    stack.ss_size = rounded;
    if (::sigaltstack(&stack, nullptr) != 0) {
        ::munmap(memory, total);
        return;
    }
    m_memory = memory;
    m_size = total;
}

AlternateSignalStack::~AlternateSignalStack()
{
    if (!m_memory)
        return;
    stack_t disable{};
    disable.ss_flags = SS_DISABLE;
    ::sigaltstack(&disable, nullptr);
    ::munmap(m_memory, m_size);
}

bool AlternateSignalStack::threadHasOne()
{
    stack_t current{};
    return ::sigaltstack(nullptr, &current) == 0 && !(current.ss_flags & SS_DISABLE);
}

std::thread AlternateSignalStack::start(std::function<void()> work)
{
    return std::thread([work = std::move(work)] {
        const AlternateSignalStack stack;
        work();
    });
}
