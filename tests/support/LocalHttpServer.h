#pragma once
// An HTTP server on 127.0.0.1 at a free port, running on its own thread for one test.

#include <httplib.h>

#include <string>
#include <thread>

class LocalHttpServer {
public:
    LocalHttpServer() = default;
    ~LocalHttpServer() { stop(); }

    httplib::Server& server() { return m_server; }
    // Starts listening once the handlers are set; returns the port.
    int start();
    void stop();
    int port() const { return m_port; }
    std::string base() const { return "http://127.0.0.1:" + std::to_string(m_port); }

private:
    httplib::Server m_server;
    std::thread m_thread;
    int m_port = 0;
};
