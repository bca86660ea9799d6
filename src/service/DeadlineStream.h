#pragma once
// One accepted connection as the HTTP server reads and writes it, with a deadline for the
// whole request header: a per-read time-out restarts with every byte, so a client sending one
// byte a second could hold a worker for ever. The body, once the header is complete, gets a
// longer deadline of its own; writes keep a per-write time-out.

#include <httplib.h>

#include <chrono>
#include <cstddef>

class DeadlineStream : public httplib::Stream {
public:
    using Clock = std::chrono::steady_clock;

    DeadlineStream(int sock, std::chrono::milliseconds readTimeout, std::chrono::milliseconds writeTimeout,
                   std::chrono::milliseconds headerDeadline, std::chrono::milliseconds bodyDeadline);

    // A new request starts: its header must be complete within the header deadline.
    void startRequest();
    // Bytes already received and not yet read (a pipelined next request).
    bool hasBuffered() const { return m_begin < m_end; }

    bool is_readable() const override;
    bool is_writable() const override;
    ssize_t read(char* ptr, size_t size) override;
    ssize_t write(const char* ptr, size_t size) override;
    void get_remote_ip_and_port(std::string& ip, int& port) const override;
    void get_local_ip_and_port(std::string& ip, int& port) const override;
    socket_t socket() const override { return m_sock; }

private:
    // Waits for the socket for at most the time-out, and never past the deadline.
    bool waitReadable() const;
    // Follows the header up to its end; returns how many of the bytes belong to it.
    std::size_t noteHeaderBytes(const char* data, std::size_t size);

    int m_sock;
    std::chrono::milliseconds m_readTimeout;
    std::chrono::milliseconds m_writeTimeout;
    std::chrono::milliseconds m_headerDeadline;
    std::chrono::milliseconds m_bodyDeadline;
    Clock::time_point m_deadline;
    bool m_headerDone = false;
    int m_headerEndMatched = 0; // how much of "\r\n\r\n" the last bytes read were
    char m_buffer[4096];
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
};
