#include "ProcessSnapshot.h"

#include <array>
#include <fstream>
#include <unistd.h>

namespace ProcessSnapshot {

namespace {

constexpr std::array kStatusKeys = {"Name:", "State:", "Threads:", "VmPeak:", "VmRSS:", "SigBlk:", "SigCgt:"};

std::string firstLine(const std::string& path)
{
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line.substr(0, 256);
}

} // namespace

std::string describe(pid_t processId, pid_t threadId)
{
    if (processId <= 0)
        return {};
    const std::string base = "/proc/" + std::to_string(processId);
    std::ifstream status(base + "/status");
    if (!status)
        return {};
    std::string text;
    char exe[4096];
    const ssize_t n = ::readlink((base + "/exe").c_str(), exe, sizeof exe - 1);
    if (n > 0)
        text += "exe: " + std::string(exe, static_cast<std::size_t>(n)) + "\n";
    if (threadId > 0)
        text += "thread: " + std::to_string(threadId) + " " + firstLine(base + "/task/" + std::to_string(threadId) + "/comm") + "\n";
    std::string line;
    for (int count = 0; count < 200 && std::getline(status, line); ++count) {
        for (const char* key : kStatusKeys) {
            if (line.rfind(key, 0) == 0) {
                text += line.substr(0, 256) + "\n";
                break;
            }
        }
    }
    return text;
}

} // namespace ProcessSnapshot
