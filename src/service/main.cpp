// korvex-service: the stand-in online service. See KorvexService.h for what it answers.

#include "KorvexService.h"

#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <cstdio>
#include <exception>
#include <iostream>
#include <thread>

int main(int argc, char** argv)
{
    std::string error;
    const auto options = ServiceOptions::parse(argc, argv, error);
    if (!options) {
        std::cerr << "korvex-service: " << error << "\n" << ServiceOptions::usage();
        return 2;
    }

    // SIGTERM and SIGINT are taken by a thread of their own (below), which stops the server.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    signal(SIGPIPE, SIG_IGN);

    try {
        KorvexService service(*options);
        const int port = service.bind(options->port);
        if (port < 0) {
            std::cerr << "korvex-service: cannot listen on 127.0.0.1:" << options->port << "\n";
            return 1;
        }
        std::printf("listening on 127.0.0.1:%d\n", port);
        std::fflush(stdout);

        std::atomic<bool> signalled{false};
        std::thread waiter([&] {
            int signal = 0;
            sigwait(&stopSignals, &signal);
            signalled = true;
            service.stop();
        });
        const bool served = service.run();
        // When the server ended by itself, wake the waiter so that it can be joined.
        if (!signalled)
            pthread_kill(waiter.native_handle(), SIGTERM);
        waiter.join();
        return served ? 0 : 1;
    } catch (const std::exception& e) {
        std::cerr << "korvex-service: " << e.what() << "\n";
        return 1;
    }
}
