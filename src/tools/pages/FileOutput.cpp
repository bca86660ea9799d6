#include "FileOutput.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace {

// The error's name beside its text, which the locale may translate: the engine tells a full
// disk by it.
std::runtime_error failure(const std::string& path, int error)
{
    const char* name = ::strerrorname_np(error);
    return std::runtime_error(path + ": " + std::strerror(error) + (name ? std::string(" (") + name + ")" : ""));
}

} // namespace

FileOutput::FileOutput(const std::string& path) : Pipeline("file output", nullptr), m_path(path)
{
    m_fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (m_fd < 0)
        throw failure(path, errno);
}

FileOutput::~FileOutput()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void FileOutput::write(unsigned char const* data, size_t length)
{
    if (m_used + length > kBlock) {
        writeOut(m_block, m_used);
        m_used = 0;
    }
    if (length >= kBlock) {
        writeOut(data, length);
    } else {
        std::memcpy(m_block + m_used, data, length);
        m_used += length;
    }
}

void FileOutput::close()
{
    writeOut(m_block, m_used);
    m_used = 0;
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        throw failure(m_path, errno);
}

void FileOutput::writeOut(unsigned char const* data, size_t length)
{
    while (length > 0) {
        const ssize_t written = ::write(m_fd, data, length);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            throw failure(m_path, written < 0 ? errno : ENOSPC);
        data += written;
        length -= static_cast<std::size_t>(written);
    }
}
