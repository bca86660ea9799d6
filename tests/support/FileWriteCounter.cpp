#include "support/FileWriteCounter.h"

#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <unistd.h>

FileWriteCounter::FileWriteCounter(const std::filesystem::path& folder, std::string name)
    : m_fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)), m_name(std::move(name))
{
    EXPECT_GE(::inotify_add_watch(m_fd, folder.c_str(), IN_MOVED_TO | IN_CLOSE_WRITE), 0);
}

FileWriteCounter::~FileWriteCounter()
{
    ::close(m_fd);
}

int FileWriteCounter::count()
{
    alignas(inotify_event) char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n <= 0)
            return m_count;
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            if (event->len > 0 && m_name == event->name)
                ++m_count;
        }
    }
}
