// Main of the hot key tests: a private Xvfb for the whole program, then one QApplication on it.
// Xvfb chooses a free display number itself and tells it through a pipe (-displayfd).

#include <QApplication>

#include <gtest/gtest.h>

#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace {

pid_t startXvfb(std::string& display)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return -1;
    const char* xvfb = std::getenv("KORVEX_XVFB");
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        if (fds[1] != 3) {
            ::dup2(fds[1], 3);
            ::close(fds[1]);
        }
        const char* program = xvfb && *xvfb ? xvfb : "Xvfb";
        ::execlp(program, program, "-displayfd", "3", "-screen", "0", "1024x768x24", "-nolisten", "tcp",
                 static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    if (pid < 0) {
        ::close(fds[0]);
        return -1;
    }
    // The number arrives once the server accepts connections.
    std::string number;
    char c;
    while (::read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    ::close(fds[0]);
    if (number.empty()) {
        ::kill(pid, SIGTERM);
        ::waitpid(pid, nullptr, 0);
        return -1;
    }
    display = ":" + number;
    return pid;
}

} // namespace

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "C.UTF-8");
    bool listing = false;
    for (int i = 1; i < argc; ++i)
        listing = listing || std::strcmp(argv[i], "--gtest_list_tests") == 0;
    if (listing) {
        testing::InitGoogleTest(&argc, argv);
        return RUN_ALL_TESTS();
    }
    std::string display;
    const pid_t xvfb = startXvfb(display);
    if (xvfb < 0) {
        std::fprintf(stderr, "Xvfb could not be started\n");
        return 1;
    }
    ::setenv("DISPLAY", display.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    int result = 1;
    {
        QApplication app(argc, argv);
        testing::InitGoogleTest(&argc, argv);
        result = RUN_ALL_TESTS();
    }
    ::kill(xvfb, SIGTERM);
    ::waitpid(xvfb, nullptr, 0);
    return result;
}
