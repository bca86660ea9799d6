#include "DeadlineServer.h"

#include "ConnectionWorkers.h"
#include "DeadlineStream.h"

#include <cerrno>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Workers kept however quiet the service is, and the most it grows to.
constexpr std::size_t kInitialWorkers = 8;
constexpr std::size_t kMaxWorkers = 1024;

std::chrono::milliseconds toMilliseconds(time_t seconds, time_t microseconds)
{
    return std::chrono::milliseconds(seconds * 1000 + microseconds / 1000);
}

} // namespace

DeadlineServer::DeadlineServer(std::chrono::milliseconds headerDeadline, std::chrono::milliseconds bodyDeadline)
    : m_headerDeadline(headerDeadline), m_bodyDeadline(bodyDeadline)
{
    new_task_queue = [] { return new ConnectionWorkers(kInitialWorkers, kMaxWorkers); };
}

bool DeadlineServer::nextRequestArrives(const DeadlineStream& stream, socket_t sock) const
{
    if (stream.hasBuffered())
        return true;
    // In short steps, so that a stopped server does not wait out the whole time-out.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(keep_alive_timeout_sec_);
    while (svr_sock_ != INVALID_SOCKET && std::chrono::steady_clock::now() < until) {
        pollfd p{sock, POLLIN, 0};
        const int ready = ::poll(&p, 1, 50);
        if (ready > 0)
            return true;
        if (ready < 0 && errno != EINTR)
            return false;
    }
    return false;
}

bool DeadlineServer::process_and_close_socket(socket_t sock)
{
    DeadlineStream stream(sock, toMilliseconds(read_timeout_sec_, read_timeout_usec_),
                          toMilliseconds(write_timeout_sec_, write_timeout_usec_), m_headerDeadline,
                          m_bodyDeadline);
    bool served = false;
    for (std::size_t left = keep_alive_max_count_; left > 0 && svr_sock_ != INVALID_SOCKET; --left) {
        if (!nextRequestArrives(stream, sock))
            break;
        stream.startRequest();
        bool closed = false;
        served = process_request(stream, left == 1, closed, nullptr);
        if (!served || closed)
            break;
    }
    ::shutdown(sock, SHUT_RDWR);
    ::close(sock);
    return served;
}
