#include "DeadlineStream.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

int pollFor(int sock, short events, std::chrono::milliseconds timeout)
{
    pollfd p{sock, events, 0};
    int result;
    do {
        result = ::poll(&p, 1, static_cast<int>(std::max<long long>(0, timeout.count())));
    } while (result < 0 && errno == EINTR);
    return result;
}

void describe(const sockaddr_storage& address, std::string& ip, int& port)
{
    char text[INET6_ADDRSTRLEN] = {};
    if (address.ss_family == AF_INET) {
        const auto& v4 = reinterpret_cast<const sockaddr_in&>(address);
        ::inet_ntop(AF_INET, &v4.sin_addr, text, sizeof text);
        port = ntohs(v4.sin_port);
    } else if (address.ss_family == AF_INET6) {
        const auto& v6 = reinterpret_cast<const sockaddr_in6&>(address);
        ::inet_ntop(AF_INET6, &v6.sin6_addr, text, sizeof text);
        port = ntohs(v6.sin6_port);
    }
    ip = text;
}

} // namespace

DeadlineStream::DeadlineStream(int sock, std::chrono::milliseconds readTimeout,
                               std::chrono::milliseconds writeTimeout,
                               std::chrono::milliseconds headerDeadline,
                               std::chrono::milliseconds bodyDeadline)
    : m_sock(sock), m_readTimeout(readTimeout), m_writeTimeout(writeTimeout),
      m_headerDeadline(headerDeadline), m_bodyDeadline(bodyDeadline)
{
    startRequest();
}

void DeadlineStream::startRequest()
{
    m_deadline = Clock::now() + m_headerDeadline;
    m_headerDone = false;
    m_headerEndMatched = 0;
}

bool DeadlineStream::waitReadable() const
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(m_deadline - Clock::now());
    if (left.count() <= 0)
        return false;
    return pollFor(m_sock, POLLIN, std::min(left, m_readTimeout)) > 0;
}

bool DeadlineStream::is_readable() const
{
    return hasBuffered() || waitReadable();
}

bool DeadlineStream::is_writable() const
{
    return pollFor(m_sock, POLLOUT, m_writeTimeout) > 0;
}

std::size_t DeadlineStream::noteHeaderBytes(const char* data, std::size_t size)
{
    static const char kEnd[] = "\r\n\r\n";
    std::size_t i = 0;
    for (; i < size && !m_headerDone; ++i) {
        if (data[i] == kEnd[m_headerEndMatched])
            ++m_headerEndMatched;
        else
            m_headerEndMatched = data[i] == '\r' ? 1 : 0;
        if (m_headerEndMatched == 4) {
            m_headerDone = true;
            m_deadline = Clock::now() + m_bodyDeadline;
        }
    }
    return i;
}

ssize_t DeadlineStream::read(char* ptr, size_t size)
{
    if (!hasBuffered()) {
        if (!waitReadable())
            return -1;
        ssize_t n;
        do {
            n = ::recv(m_sock, m_buffer, sizeof m_buffer, 0);
        } while (n < 0 && errno == EINTR);
        if (n <= 0)
            return n;
        m_begin = 0;
        m_end = static_cast<std::size_t>(n);
    }
    // Only as far as the header's end is handed out at once, so the body's deadline starts there.
    std::size_t count = std::min(size, m_end - m_begin);
    if (!m_headerDone)
        count = noteHeaderBytes(m_buffer + m_begin, count);
    std::memcpy(ptr, m_buffer + m_begin, count);
    m_begin += count;
    return static_cast<ssize_t>(count);
}

ssize_t DeadlineStream::write(const char* ptr, size_t size)
{
    if (!is_writable())
        return -1;
    ssize_t n;
    do {
        n = ::send(m_sock, ptr, size, MSG_NOSIGNAL);
    } while (n < 0 && errno == EINTR);
    return n;
}

void DeadlineStream::get_remote_ip_and_port(std::string& ip, int& port) const
{
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (::getpeername(m_sock, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        describe(address, ip, port);
}

void DeadlineStream::get_local_ip_and_port(std::string& ip, int& port) const
{
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (::getsockname(m_sock, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        describe(address, ip, port);
}
