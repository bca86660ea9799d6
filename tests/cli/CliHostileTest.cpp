// korvex-pdf-cli against what a hostile user or a flaky machine throws at it: endless
// password sources, FIFOs and devices as inputs, and signals in the middle of a split.

#include "CliRun.h"
#include "core/converter/ChildProcess.h"
#include "support/PdfFactory.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;
using Converter::ChildProcess;

namespace {

// Polls until the condition holds; false when it never did within the (generous) limit.
bool waitFor(const std::function<bool()>& condition, std::chrono::seconds limit = std::chrono::seconds(120))
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// The process ids whose parent is pid (zombies left out).
std::vector<pid_t> childrenOf(pid_t pid)
{
    std::vector<pid_t> children;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        std::getline(stat, line);
        const std::size_t close = line.rfind(')');
        if (close == std::string::npos)
            continue;
        char state = 0;
        int parent = 0;
        if (std::sscanf(line.c_str() + close + 1, " %c %d", &state, &parent) == 2 && parent == pid && state != 'Z')
            children.push_back(std::stoi(name));
    }
    return children;
}

bool runningProcess(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return false;
    const std::size_t close = line.rfind(')');
    return close != std::string::npos && line.size() > close + 2 && line[close + 2] != 'Z';
}

class CliHostile : public testing::Test {
protected:
    CliRun cli(const std::vector<std::string>& args, std::optional<std::string> input = std::nullopt)
    {
        ChildProcess::Options options;
        options.input = std::move(input);
        return runProgram(KORVEX_CLI_PATH, args, dir.path(), options);
    }

    // Starts the program without waiting for it.
    pid_t start(const std::vector<std::string>& args)
    {
        std::vector<std::string> all{KORVEX_CLI_PATH};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& arg : all)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addchdir_np(&actions, dir.path().c_str());
        pid_t pid = 0;
        EXPECT_EQ(::posix_spawn(&pid, KORVEX_CLI_PATH, &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
        return pid;
    }

    // Every file under the folder, hidden ones included.
    std::vector<fs::path> filesUnder(const std::string& folder) const
    {
        std::vector<fs::path> files;
        std::error_code ec;
        for (auto it = fs::recursive_directory_iterator(dir.file(folder), ec); !ec && it != fs::recursive_directory_iterator();
             it.increment(ec)) {
            files.push_back(it->path());
        }
        return files;
    }

    std::size_t hiddenEntries(const std::string& folder) const
    {
        std::size_t count = 0;
        for (const fs::path& path : filesUnder(folder))
            count += path.filename().string().rfind(".korvex-", 0) == 0;
        return count;
    }

    // A split of many one-page pieces, stopped once qpdf has written its first piece.
    pid_t startLongSplit(pid_t& qpdf)
    {
        const pid_t pid = start({"split", "big.pdf", "--every", "1", "--out", "out"});
        EXPECT_TRUE(waitFor([&] {
            const std::vector<fs::path> files = filesUnder("out");
            return std::any_of(files.begin(), files.end(), [](const fs::path& p) { return p.extension() == ".pdf"; });
        }));
        const std::vector<pid_t> children = childrenOf(pid);
        EXPECT_EQ(children.size(), 1u);
        qpdf = children.empty() ? 0 : children.front();
        return pid;
    }

    static constexpr int kPages = 3000;
    TempDir dir;
};

} // namespace

TEST_F(CliHostile, PasswordSourcesAreReadOnlyToABoundedFirstLine)
{
    PdfFactory::write(dir.file("five.pdf"), 5);
    ASSERT_TRUE(PdfFactory::encrypt(dir.file("five.pdf"), dir.file("secret.pdf"), "pw"));

    CliRun run = cli({"decrypt", "secret.pdf", "--password-file", "/dev/zero", "--out", "d"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("cannot read the password from /dev/zero"), std::string::npos) << run.err;

    run = cli({"decrypt", "secret.pdf", "--password-file", "-", "--out", "d"}, std::string(8 << 20, 'x'));
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_FALSE(fs::exists(dir.file("d/secret_Decrypt.pdf")));

    // A short last line without a line feed is still a password.
    run = cli({"decrypt", "secret.pdf", "--password-file", "-", "--out", "d"}, std::string("pw"));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(PdfFactory::pageCount(dir.file("d/secret_Decrypt.pdf")), 5);
}

TEST_F(CliHostile, FifosAndDevicesAreRefusedNotWaitedOn)
{
    ASSERT_EQ(::mkfifo(dir.file("pipe.pdf").c_str(), 0600), 0);
    ::symlink("/dev/zero", dir.file("zero.pdf").c_str());
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"info", "pipe.pdf"}, {"info", "zero.pdf"}, {"compress", "pipe.pdf", "--out", "o"},
          {"split", "pipe.pdf", "--every", "1", "--out", "o"}, {"merge", "zero.pdf", "pipe.pdf", "--out", "o"},
          {"decrypt", "pipe.pdf", "--out", "o"}, {"extract", "/dev/null", "--pages", "1-1", "--out", "o"}}) {
        const CliRun run = cli(args);
        EXPECT_EQ(run.exitCode, 1) << testing::PrintToString(args);
        EXPECT_NE(run.err.find("not a regular file"), std::string::npos) << testing::PrintToString(args) << run.err;
    }
    EXPECT_TRUE(!fs::exists(dir.file("o")) || fs::is_empty(dir.file("o")));
}

TEST_F(CliHostile, TerminatingOrInterruptingCleansUpAndEndsQpdf)
{
    PdfFactory::write(dir.file("big.pdf"), kPages);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        fs::remove_all(dir.file("out"));
        pid_t qpdf = 0;
        const pid_t pid = startLongSplit(qpdf);
        ASSERT_GT(qpdf, 0);
        ::kill(pid, signal);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status)) << signal;
        EXPECT_EQ(WEXITSTATUS(status), 128 + signal);
        EXPECT_FALSE(runningProcess(qpdf));
        EXPECT_EQ(hiddenEntries("out"), 0u) << signal;
        EXPECT_LT(filesUnder("out/big").size(), static_cast<std::size_t>(kPages)) << signal;
    }
}

TEST_F(CliHostile, KilledProgramTakesQpdfWithIt)
{
    PdfFactory::write(dir.file("big.pdf"), kPages);
    pid_t qpdf = 0;
    const pid_t pid = startLongSplit(qpdf);
    ASSERT_GT(qpdf, 0);
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    EXPECT_TRUE(waitFor([&] { return !runningProcess(qpdf); }));
    // Killed at once: it did not go on to write every piece (nobody renames them any more,
    // so they would all lie in the output folder).
    std::size_t pieces = 0;
    for (const fs::path& path : filesUnder("out"))
        pieces += path.extension() == ".pdf";
    EXPECT_LT(pieces, static_cast<std::size_t>(kPages));
}
