// The configuration store under hostile conditions: files it cannot read or use, file names
// that are not UTF-8, and copies left by writes that were killed.

#include "core/common/Utils.h"
#include "support/OfflineUser.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr const char* kName = AbstractUser::kFileName;

int countEntries(const fs::path& folder, const std::string& part)
{
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        count += entry.path().filename().string().find(part) != std::string::npos;
    return count;
}

// Runs body in a child process that cannot read files its owner cannot: as root, the child
// becomes the unprivileged "nobody" (uid 65534) first, because root reads any file.
int runUnprivileged(const fs::path& folder, const std::function<int()>& body)
{
    if (::geteuid() == 0) {
        for (const auto& entry : fs::recursive_directory_iterator(folder))
            EXPECT_EQ(::chown(entry.path().c_str(), 65534, 65534), 0);
        EXPECT_EQ(::chown(folder.c_str(), 65534, 65534), 0);
    }
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(90);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

} // namespace

TEST(ConfigurationFaults, FileThatCannotBeReadIsNeverWrittenOver)
{
    TempDir dir;
    const fs::path file = dir.file(kName);
    const std::string original = "{\"m_history\":[\"/a.pdf\"],\"m_openkey\":\"secret\",\"m_savepath\":\"/out\"}\n";
    writeFile(file, original);
    fs::permissions(file, fs::perms::owner_write, fs::perm_options::replace);
    const int code = runUnprivileged(dir.path(), [&] {
        OfflineUser user(dir.wide());
        // Start-up stores the language; the user changes the output folder.
        user.setLanguage(Glossary::ENGLSH);
        user.setSavePath("/elsewhere");
        user.addHistory("/b.pdf");
        if (!user.configurationUnreadable())
            return 1;
        if (user.getSavePath() != "/elsewhere" || user.getHistory().size() != 1)
            return 2; // the run still works on its in-memory defaults
        return 0;
    });
    EXPECT_EQ(code, 0);
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::replace);
    EXPECT_EQ(readFile(file), original);

    // Readable again: everything is back.
    OfflineUser user(dir.wide());
    EXPECT_FALSE(user.configurationUnreadable());
    EXPECT_EQ(user.getOpenKey(), "secret");
    EXPECT_EQ(user.getSavePath(), "/out");
}

TEST(ConfigurationFaults, FolderInPlaceOfTheFileCountsAsUnreadable)
{
    TempDir dir;
    fs::create_directories(dir.file(kName) / "inside");
    OfflineUser user(dir.wide());
    EXPECT_TRUE(user.configurationUnreadable());
    user.setUserId("7");
    EXPECT_EQ(user.getUserId(), "7");
    EXPECT_TRUE(fs::is_directory(dir.file(kName) / "inside"));
}

TEST(ConfigurationFaults, DeepNestingAndRootsOtherThanObjectsAreKeptAside)
{
    const std::string deep = std::string(5000, '[') + std::string(5000, ']');
    const std::string deepInObject = "{\"m_userid\":" + std::string(2000, '[') + std::string(2000, ']') + "}";
    for (const std::string& bad : {deep, deepInObject, std::string("[\"m_userid\",\"1\"]"),
                                   std::string("[]"), std::string("42")}) {
        TempDir dir;
        writeFile(dir.file(kName), bad);
        OfflineUser user(dir.wide()); // must not throw
        EXPECT_EQ(user.getUserId(), "") << bad.substr(0, 40);
        EXPECT_EQ(countEntries(dir.path(), ".corrupt-"), 1) << bad.substr(0, 40);
        for (const auto& entry : fs::directory_iterator(dir.path())) {
            if (entry.path().filename().string().find(".corrupt-") != std::string::npos) {
                EXPECT_EQ(readFile(entry.path()), bad);
            }
        }
        user.setUserId("2");
        EXPECT_EQ(readFile(dir.file(kName)), "{\"m_userid\":\"2\"}\n");
    }
}

TEST(ConfigurationFaults, NamesThatAreNotUtf8SurviveARestart)
{
    TempDir dir;
    const std::string latin1 = "/home/ann/r\xe9sum\xe9.pdf";
    const std::string cut = "/tmp/\xe4\xb8.pdf";       // a multi-byte sequence cut short
    const std::string plain = "/tmp/\xe6\x96\x87.pdf"; // valid UTF-8 stays a plain string
    {
        OfflineUser user(dir.wide());
        user.addHistory(latin1);
        user.addHistory(cut);
        user.addHistory(plain);
        user.setSavePath("/data/\xff\xfe");
    }
    const std::string text = readFile(dir.file(kName));
    EXPECT_NE(text.find("\"/tmp/\\u6587.pdf\""), std::string::npos) << text;
    {
        OfflineUser user(dir.wide());
        EXPECT_EQ(user.getHistory(), (std::vector<std::string>{latin1, cut, plain}));
        EXPECT_EQ(user.getSavePath(), "/data/\xff\xfe");
        user.removeHistory(cut);
        EXPECT_EQ(user.getHistory(), (std::vector<std::string>{latin1, plain}));
        user.clearConfiguration();
    }
    OfflineUser user(dir.wide());
    EXPECT_EQ(user.getHistory(), (std::vector<std::string>{latin1, plain}));
    EXPECT_EQ(user.getSavePath(), "/data/\xff\xfe");
}

TEST(ConfigurationFaults, FilesWrittenBeforeStillLoad)
{
    TempDir dir;
    // An older file: plain strings, one with raw bytes a hand edit left, one object entry
    // that is not ours.
    writeFile(dir.file(kName), "{\"m_history\":[\"/a.pdf\",\"/b\xe9.pdf\",{\"x\":1},\"/\xe6\x96\x87.pdf\"],"
                               "\"m_savepath\":\"/out\",\"m_username\":\"Ann\"}\n");
    OfflineUser user(dir.wide());
    EXPECT_EQ(user.getHistory(), (std::vector<std::string>{"/a.pdf", "/b\xe9.pdf", "/\xe6\x96\x87.pdf"}));
    EXPECT_EQ(user.getSavePath(), "/out");
    EXPECT_EQ(user.getUserName(), "Ann");
    OfflineUser again(dir.wide()); // rewritten at load, the raw bytes now in their stored form
    EXPECT_EQ(again.getHistory(), user.getHistory());
}

TEST(ConfigurationFaults, StaleTemporaryCopiesGoAtLoadButLiveWritersKeepTheirs)
{
    TempDir dir;
    const pid_t gone = ::fork();
    if (gone == 0)
        ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const std::string prefix = std::string(kName) + ".tmp-";
    writeFile(dir.file(prefix + std::to_string(gone) + "-0"), "{\"m_openkey\":\"k\"}");
    writeFile(dir.file(prefix + std::to_string(gone) + "-17"), "{\"m_openkey\":");
    const std::string live = prefix + std::to_string(::getppid()) + "-3";
    writeFile(dir.file(live), "{}");
    writeFile(dir.file("other.json.tmp-" + std::to_string(gone) + "-0"), "{}");
    OfflineUser user(dir.wide());
    EXPECT_EQ(countEntries(dir.path(), ".tmp-" + std::to_string(gone)), 1); // not our file's
    EXPECT_TRUE(fs::exists(dir.file(live)));
}
