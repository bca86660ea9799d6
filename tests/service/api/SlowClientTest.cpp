// Clients that connect and then stall or trickle their request must not stop the service from
// answering anyone else.

#include "support/ServiceProcess.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <arpa/inet.h>
#include <atomic>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

int connectTo(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// How many of three ordinary requests get their answer; the 20 seconds are only a guard.
int answeredOfThree(const ServiceProcess& service)
{
    httplib::Client client(service.host(), service.port());
    client.set_connection_timeout(60);
    client.set_read_timeout(20);
    int answered = 0;
    for (int i = 0; i < 3; ++i) {
        const httplib::Result result = client.Get("/control/feedback");
        answered += result && result->status == 200;
    }
    return answered;
}

// answeredOfThree while the slow clients hold their connections; then they are let go.
int answeredWhileHeld(const ServiceProcess& service, std::atomic<bool>& stop, std::thread& trickle,
                      const std::vector<int>& sockets)
{
    const int answered = answeredOfThree(service);
    stop = true;
    trickle.join();
    for (const int fd : sockets)
        ::close(fd);
    return answered;
}

} // namespace

TEST(SlowClients, SilentAndTricklingClientsDoNotStopTheService)
{
    ServiceProcess service;
    constexpr int kSilent = 12;
    constexpr int kTrickling = 12;
    std::vector<int> sockets;
    for (int i = 0; i < kSilent + kTrickling; ++i) {
        const int fd = connectTo(service.port());
        ASSERT_GE(fd, 0);
        sockets.push_back(fd);
    }
    // The trickling ones send their request line a byte at a time, never finishing it.
    std::atomic<bool> stop{false};
    std::thread trickle([&] {
        const std::string line = "GET /index.php?token=" + std::string(4000, 'a');
        for (std::size_t at = 0; at < line.size() && !stop; ++at) {
            for (int i = kSilent; i < kSilent + kTrickling; ++i)
                (void)::send(sockets[i], &line[at], 1, MSG_NOSIGNAL);
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
        }
    });

    EXPECT_EQ(answeredWhileHeld(service, stop, trickle, sockets), 3);
}

TEST(SlowClients, SixtyFourClientsSendingAHeaderByteASecondDoNotStopAnswers)
{
    ServiceProcess service;
    constexpr int kTrickling = 64;
    const std::string line = "GET /index.php?class=System&type=GetConfig&token=" + std::string(200, 'a');
    // One at a time, each with its first byte, so that every one is taken on by a worker (a
    // burst would overflow the listen queue and be refused instead).
    std::vector<int> sockets;
    for (int i = 0; i < kTrickling; ++i) {
        const int fd = connectTo(service.port());
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::send(fd, line.data(), 1, MSG_NOSIGNAL), 1);
        sockets.push_back(fd);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::atomic<bool> stop{false};
    std::atomic<int> stillOpen{kTrickling};
    std::thread trickle([&] {
        for (std::size_t at = 1; at < line.size() && !stop; ++at) {
            int open = 0;
            for (const int fd : sockets)
                open += ::send(fd, &line[at], 1, MSG_NOSIGNAL) == 1;
            stillOpen = open;
            for (int i = 0; i < 10 && !stop; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    });
    std::this_thread::sleep_for(std::chrono::seconds(1));
    // Every one of them holds a worker now.
    EXPECT_EQ(stillOpen.load(), kTrickling);

    EXPECT_EQ(answeredWhileHeld(service, stop, trickle, sockets), 3);
}

TEST(SlowClients, AHeaderThatNeverEndsIsCutOffAtItsDeadline)
{
    ServiceProcess service;
    const int fd = connectTo(service.port());
    ASSERT_GE(fd, 0);
    // A byte every half second never lets a per-read time-out expire; the header's deadline
    // ends it. The minute is only a guard for a service that never closes.
    const std::string line = "GET /index.php?" + std::string(200, 'a');
    bool closed = false;
    for (std::size_t at = 0; at < line.size() && !closed; ++at) {
        if (::send(fd, &line[at], 1, MSG_NOSIGNAL) != 1)
            closed = true;
        pollfd p{fd, POLLIN, 0};
        char c;
        if (::poll(&p, 1, 500) > 0 && ::recv(fd, &c, 1, MSG_DONTWAIT) <= 0)
            closed = true;
    }
    ::close(fd);
    EXPECT_TRUE(closed);
}
