// Decrypted copies do not outlive their process: the crash path removes the private folder,
// and a start after a kill removes the folders of processes that are gone.

#include "core/converter/ChildProcess.h"
#include "core/converter/PrivateTempFolder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using Converter::PrivateTempFolder;

namespace {

std::string firstLine(const std::string& text)
{
    return text.substr(0, text.find('\n'));
}

} // namespace

TEST(PrivateFolder, ACrashRemovesTheFolderBeforeTheReporterRuns)
{
    // A copy of the probe with no reporter beside it: the handler still cleans up, then says
    // that the reporter is missing.
    TempDir dir;
    const fs::path probe = dir.file("probe");
    fs::copy_file(KORVEX_PRIVATE_FOLDER_PROBE, probe);
    Converter::ChildProcess::Options options;
    options.captureOutput = true;
    const auto run = Converter::ChildProcess::run(probe.string(), {"segv"}, nullptr, options);
    const std::string folder = firstLine(run.output);
    ASSERT_FALSE(folder.empty()) << run.errorTail;
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.errorTail.find("execv failed"), std::string::npos) << run.errorTail;
    EXPECT_FALSE(fs::exists(folder)) << folder;
}

TEST(PrivateFolder, FoldersOfKilledProcessesGoAtTheNextStartOthersStay)
{
    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::execl(KORVEX_PRIVATE_FOLDER_PROBE, KORVEX_PRIVATE_FOLDER_PROBE, "wait", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(out[1]);
    std::string folder;
    char c = 0;
    while (::read(out[0], &c, 1) == 1 && c != '\n')
        folder.push_back(c);
    ::close(out[0]);
    ASSERT_TRUE(fs::exists(fs::path(folder) / "1/secret.pdf")) << folder;

    // A folder of another user, and one of ours with a name that is not the program's.
    const fs::path base = fs::temp_directory_path();
    const pid_t gone = ::fork();
    if (gone == 0)
        ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const fs::path foreign = base / ("korvex-" + std::to_string(gone) + "-Abc123");
    const fs::path unrelated = base / ("korvex-" + std::to_string(gone) + "-keep");
    fs::create_directories(foreign / "1");
    fs::create_directories(unrelated);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(foreign.c_str(), 65534, 65534), 0);
    }

    PrivateTempFolder::removeStaleFolders();
    EXPECT_TRUE(fs::exists(folder)); // its process still runs

    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    // Any program of ours that starts meanwhile (tests run side by side) may be the one that
    // removes it: what counts is that it is gone.
    PrivateTempFolder::removeStaleFolders();
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_TRUE(fs::exists(unrelated));
    EXPECT_EQ(fs::exists(foreign), root); // without root it is ours, and stale
    fs::remove_all(foreign);
    fs::remove_all(unrelated);
}
