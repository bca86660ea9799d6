#include "FileBlockSource.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <stdexcept>
#include <unistd.h>

namespace {

// Small enough that a merge of hundreds of inputs, each with its own block, stays within
// what qpdf takes; large enough that a block serves dozens of the tokenizer's reads.
constexpr size_t kBlock = 8 * 1024;

std::runtime_error failure(const std::string& name, const char* what)
{
    return std::runtime_error(name + ": " + what + ": " + std::strerror(errno));
}

} // namespace

FileBlockSource::FileBlockSource(const std::string& path) : m_name(path), m_block(kBlock)
{
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0)
        throw failure(path, "cannot open");
}

FileBlockSource::FileBlockSource(const std::string& path, qpdf_offset_t cut, std::string tail)
    : FileBlockSource(path)
{
    m_cut = cut;
    m_tail = std::move(tail);
}

FileBlockSource::~FileBlockSource()
{
    ::close(m_fd);
}

void FileBlockSource::seek(qpdf_offset_t offset, int whence)
{
    qpdf_offset_t base = 0;
    if (whence == SEEK_CUR) {
        base = m_position;
    } else if (whence == SEEK_END && m_cut >= 0) {
        base = m_cut + static_cast<qpdf_offset_t>(m_tail.size());
    } else if (whence == SEEK_END) {
        const off_t end = ::lseek(m_fd, 0, SEEK_END);
        if (end < 0)
            throw failure(m_name, "cannot find the end");
        base = end;
    }
    // Offsets come from the file: one beyond what a position can hold is refused, not wrapped.
    if ((offset > 0 && base > std::numeric_limits<qpdf_offset_t>::max() - offset) || base + offset < 0)
        throw std::runtime_error(m_name + ": seek outside the file");
    m_position = base + offset;
}

void FileBlockSource::unreadCh(char)
{
    if (m_position == 0)
        throw std::runtime_error(m_name + ": unread before the start");
    --m_position;
}

size_t FileBlockSource::read(char* buffer, size_t length)
{
    last_offset = m_position;
    size_t done = 0;
    while (done < length) {
        size_t got = 0;
        if (length - done >= kBlock)
            got = readAt(m_position, buffer + done, length - done);
        else
            got = copyOut(buffer + done, length - done);
        if (got == 0)
            break;
        done += got;
        m_position += static_cast<qpdf_offset_t>(got);
    }
    return done;
}

bool FileBlockSource::fill()
{
    const bool inBlock = m_position >= m_blockStart &&
                         m_position < m_blockStart + static_cast<qpdf_offset_t>(m_blockLength);
    if (!inBlock) {
        m_blockStart = m_position;
        m_blockLength = readAt(m_position, m_block.data(), m_block.size());
    }
    return m_blockLength > 0 && m_position >= m_blockStart;
}

size_t FileBlockSource::copyOut(char* buffer, size_t length)
{
    if (!fill())
        return 0;
    const size_t at = static_cast<size_t>(m_position - m_blockStart);
    const size_t count = std::min(length, m_blockLength - at);
    std::memcpy(buffer, m_block.data() + at, count);
    return count;
}

size_t FileBlockSource::readAt(qpdf_offset_t offset, char* buffer, size_t length) const
{
    if (m_cut < 0)
        return readFile(offset, buffer, length);
    if (offset < m_cut)
        return readFile(offset, buffer, static_cast<size_t>(std::min<qpdf_offset_t>(static_cast<qpdf_offset_t>(length), m_cut - offset)));
    const qpdf_offset_t at = offset - m_cut;
    if (at >= static_cast<qpdf_offset_t>(m_tail.size()))
        return 0;
    const size_t count = std::min(length, m_tail.size() - static_cast<size_t>(at));
    std::memcpy(buffer, m_tail.data() + at, count);
    return count;
}

size_t FileBlockSource::readFile(qpdf_offset_t offset, char* buffer, size_t length) const
{
    for (;;) {
        const ssize_t got = ::pread(m_fd, buffer, length, static_cast<off_t>(offset));
        if (got >= 0)
            return static_cast<size_t>(got);
        if (errno != EINTR)
            throw failure(m_name, "cannot read");
    }
}

qpdf_offset_t FileBlockSource::findAndSkipNextEOL()
{
    // The position of the next end of line; reading goes on after it and any further \r and \n.
    // Searched in the block itself: qpdf asks for this once per line of a cross-reference table.
    const auto isEol = [](char c) { return c == '\r' || c == '\n'; };
    qpdf_offset_t eol = -1;
    while (fill()) {
        const char* block = m_block.data();
        const char* from = block + (m_position - m_blockStart);
        const char* end = block + m_blockLength;
        const char* stop = eol < 0 ? std::find_if(from, end, isEol) : std::find_if_not(from, end, isEol);
        m_position = m_blockStart + (stop - block);
        if (stop == end)
            continue;
        if (eol >= 0)
            return eol;
        eol = m_position; // now past the run of line ends
    }
    return eol < 0 ? m_position : eol;
}
