// Clients that connect and then stall or trickle their request must not stop the service from
// answering anyone else.

#include "support/ServiceProcess.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <arpa/inet.h>
#include <atomic>
#include <netinet/in.h>
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

    httplib::Client client(service.host(), service.port());
    client.set_connection_timeout(60);
    client.set_read_timeout(60);
    int answered = 0;
    for (int i = 0; i < 3; ++i) {
        const httplib::Result result = client.Get("/control/feedback");
        answered += result && result->status == 200;
    }
    stop = true;
    trickle.join();
    for (const int fd : sockets)
        ::close(fd);
    EXPECT_EQ(answered, 3);
}
