#pragma once
// An installed copy of the crash probe and the reporter with its own install.json, run with a
// home folder of its own so kept reports land in the test's folder and nowhere else.

#include "support/TempDir.h"

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <sys/types.h>

class CrashInstallation {
public:
    CrashInstallation();

    // Writes install.json naming the service the crash reports go to.
    void useService(const std::string& base);

    std::filesystem::path programs() const { return m_dir.path() / "programs"; }
    std::filesystem::path configFolder() const;
    // The reporter's log of what it did (KORVEX_REPORTIS_LOG).
    std::filesystem::path log() const { return m_dir.path() / "reportis.log"; }
    std::vector<std::filesystem::path> keptReports() const;

    // Runs a program of the installation; returns its pid and exit code (-1 when killed).
    std::pair<pid_t, int> run(const char* program, const std::vector<std::string>& args) const;

private:
    TempDir m_dir;
};
