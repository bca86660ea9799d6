// The configuration path holding something other than a plain file of ours: a FIFO, a device
// behind a link, a file far too long, a link to the real file, a file the user made read-only.

#include "core/common/Utils.h"
#include "support/OfflineUser.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr const char* kName = AbstractUser::kFileName;

// Runs body in a child under a 512 MB address-space limit, so that an endless read fails
// instead of taking the machine; a child still running after the limit (a hang) is killed.
// The exit code of body, or 100 + the signal that ended the child.
int runBounded(const std::function<int()>& body)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        const rlimit limit{512u << 20, 512u << 20};
        ::setrlimit(RLIMIT_AS, &limit);
        ::_exit(body());
    }
    int status = 0;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > end) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

// The entries set aside as unreadable.
std::vector<fs::path> setAside(const fs::path& folder)
{
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().find(".corrupt-") != std::string::npos)
            found.push_back(entry.path());
    }
    return found;
}

} // namespace

TEST(SpecialConfiguration, FifoDevicesAndOversizedFilesAreSetAsideUnread)
{
    struct Case {
        const char* what;
        std::function<void(const fs::path& config)> plant;
        fs::file_type asideType;
    };
    const std::vector<Case> cases = {
        {"fifo", [](const fs::path& config) { ASSERT_EQ(::mkfifo(config.c_str(), 0600), 0); }, fs::file_type::fifo},
        {"link to /dev/zero", [](const fs::path& config) { fs::create_symlink("/dev/zero", config); },
         fs::file_type::symlink},
        {"link to a fifo",
         [](const fs::path& config) {
             ASSERT_EQ(::mkfifo((config.string() + "-fifo").c_str(), 0600), 0);
             fs::create_symlink(config.string() + "-fifo", config);
         },
         fs::file_type::symlink},
        {"1 GB file",
         [](const fs::path& config) {
             writeFile(config, "{\"m_userid\":\"1\"}");
             // Sparse, so nothing is written; read whole, it would not fit under the limit.
             fs::resize_file(config, std::uintmax_t{1} << 30);
         },
         fs::file_type::regular},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const fs::path config = dir.file(kName);
        c.plant(config);
        const int code = runBounded([&] {
            OfflineUser user(dir.wide());
            if (!user.getUserId().empty() || user.configurationUnreadable())
                return 1;
            user.setUserId("5"); // the run goes on and saves into a new file
            return 0;
        });
        ASSERT_EQ(code, 0);
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(config)));
        EXPECT_EQ(readFile(config), "{\"m_userid\":\"5\"}\n");
        const std::vector<fs::path> aside = setAside(dir.path());
        ASSERT_EQ(aside.size(), 1u);
        EXPECT_EQ(fs::symlink_status(aside.front()).type(), c.asideType);
    }
}

TEST(SpecialConfiguration, LinkToTheRealFileIsWrittenThroughAndStays)
{
    TempDir dir;
    fs::create_directories(dir.file("config"));
    fs::create_directories(dir.file("kept"));
    const fs::path real = dir.file("kept/settings.json");
    writeFile(real, "{\"m_savepath\":\"/out\"}\n");
    fs::create_symlink("../kept/settings.json", dir.file("config") / kName);

    OfflineUser user(dir.wide("config"));
    EXPECT_EQ(user.getSavePath(), "/out");
    user.setUserId("7");
    EXPECT_TRUE(fs::is_symlink(dir.file("config") / kName));
    EXPECT_EQ(readFile(real), "{\"m_savepath\":\"/out\",\"m_userid\":\"7\"}\n");
    // No copy of a write beside the link or beside the file.
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.file("config")), fs::directory_iterator()), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.file("kept")), fs::directory_iterator()), 1);
}

TEST(SpecialConfiguration, ReadOnlyFileIsReadButNeverReplaced)
{
    for (const bool throughLink : {false, true}) {
        SCOPED_TRACE(throughLink ? "through a link" : "the file itself");
        TempDir dir;
        fs::create_directories(dir.file("config"));
        const fs::path file = throughLink ? dir.file("settings.json") : dir.file("config") / kName;
        const std::string original = "{\"m_history\":[\"/a.pdf\"],\"m_userid\":\"1\"}\n";
        writeFile(file, original);
        ::chmod(file.c_str(), 0444);
        if (throughLink)
            fs::create_symlink(file, dir.file("config") / kName);

        OfflineUser user(dir.wide("config"));
        EXPECT_FALSE(user.configurationUnreadable());
        EXPECT_EQ(user.getUserId(), "1");
        user.setUserId("2");
        user.addHistory("/b.pdf");
        // The run works on its changes; the file stays the user's.
        EXPECT_EQ(user.getUserId(), "2");
        EXPECT_EQ(user.getHistory().size(), 2u);
        EXPECT_EQ(readFile(file), original);
        struct stat info {};
        ASSERT_EQ(::stat(file.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0444u);
        EXPECT_EQ(fs::is_symlink(dir.file("config") / kName), throughLink);
    }
}
