// A process writing the configuration is killed at random moments, hundreds of times. After
// every kill the file holds one whole document, old or new, and the next load leaves no copy
// of a write behind.

#include "support/OfflineUser.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <json/json.h>

#include <csignal>
#include <filesystem>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr const char* kName = AbstractUser::kFileName;
constexpr int kKills = 320;
// Long values, so that a write takes a while and kills land inside it.
const std::string kPadding(48 * 1024, 'p');

// The number at the end of the name when the bytes are one of the writer's documents (the
// padding and a number), else -1.
long long documentNumber(const std::string& bytes)
{
    Json::Value root;
    Json::CharReaderBuilder builder;
    std::string errors;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    if (!reader->parse(bytes.data(), bytes.data() + bytes.size(), &root, &errors) || !root.isObject())
        return -1;
    const std::string name = root["m_username"].asString();
    if (root["m_openkey"].asString() != "key" || name.size() <= kPadding.size() + 1 ||
        name.size() > kPadding.size() + 18 || name.compare(0, kPadding.size() + 1, kPadding + "-") != 0 ||
        name.find_first_not_of("0123456789", kPadding.size() + 1) != std::string::npos)
        return -1;
    return std::stoll(name.substr(kPadding.size() + 1));
}

constexpr long long kPerChild = 1000000000LL;

} // namespace

TEST(ConfigurationKill, EveryKillLeavesAWholeDocumentAndTheNextLoadNoCopies)
{
    TempDir dir;
    {
        OfflineUser user(dir.wide());
        user.setOpenKey("key");
        user.setUserName(kPadding + "-0");
    }
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> delayMicroseconds(0, 15000);
    int writesSeen = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::close(ready[0]);
            OfflineUser user(dir.wide());
            const char byte = 1;
            if (::write(ready[1], &byte, 1) != 1)
                ::_exit(1);
            for (long n = 1;; ++n)
                user.setUserName(kPadding + "-" + std::to_string((kill + 1) * kPerChild + n));
        }
        ::close(ready[1]);
        char byte = 0;
        ASSERT_EQ(::read(ready[0], &byte, 1), 1);
        ::close(ready[0]);
        ::usleep(static_cast<useconds_t>(delayMicroseconds(random)));
        ::kill(pid, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
        const std::string bytes = readFile(dir.file(kName));
        const long long number = documentNumber(bytes);
        ASSERT_GE(number, 0) << "after kill " << kill << ": " << bytes.size() << " bytes";
        writesSeen += number / kPerChild == kill + 1;
    }
    EXPECT_GT(writesSeen, 0); // the kills really did interrupt a writer at work

    OfflineUser user(dir.wide());
    EXPECT_EQ(user.getOpenKey(), "key");
    for (const auto& entry : fs::directory_iterator(dir.path()))
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos) << entry.path();
}
