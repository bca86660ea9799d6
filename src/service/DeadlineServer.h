#pragma once
// The HTTP server with a deadline for each request's whole header (DeadlineStream) and a worker
// pool that grows while every worker is busy (ConnectionWorkers): clients that connect and
// trickle their request can hold a worker only for the header deadline, and never keep the
// service from answering a new client.

#include <httplib.h>

#include <chrono>

class DeadlineServer : public httplib::Server {
public:
    explicit DeadlineServer(std::chrono::milliseconds headerDeadline = std::chrono::seconds(5),
                            std::chrono::milliseconds bodyDeadline = std::chrono::seconds(30));

private:
    // Replaces the library's connection loop (keep-alive, per-read time-outs) with one that
    // reads through a DeadlineStream; the request itself is the library's.
    bool process_and_close_socket(socket_t sock) override;
    // Waits up to the keep-alive time-out for the next request; false when none comes.
    bool nextRequestArrives(const class DeadlineStream& stream, socket_t sock) const;

    std::chrono::milliseconds m_headerDeadline;
    std::chrono::milliseconds m_bodyDeadline;
};
