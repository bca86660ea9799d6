// The updater download: progress, cancel, and the digest check that decides whether the
// downloaded program is ever written and started. The service hands out the real stand-in
// updater, which notes in the configuration folder of $HOME what it was asked to update.

#include "core/actions/DownloadAction.h"
#include "ApiClient.h"
#include "core/common/Sha256.h"
#include "core/common/Utils.h"
#include "core/message/WindowMessages.h"
#include "core/network/NotifyPayload.h"
#include "core/network/RequestRunner.h"
#include "core/user/RequestId.h"
#include "core/user/User.h"
#include "support/LocalHttpServer.h"
#include "support/RecordingSink.h"
#include "support/ServiceProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <thread>

using namespace WindowMessages;
namespace fs = std::filesystem;

namespace {

constexpr WindowHandle kWindow = 77;

fs::path updaterProgram()
{
    return fs::path(Utils::wideToUtf8(Utils::getModuleDirectory())) / "korvex_updater";
}

class DownloadActionTest : public testing::Test {
protected:
    void SetUp() override
    {
        // The updater writes its note under $HOME; this test's own.
        ::setenv("HOME", home.path().c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (home.path() / ".config").c_str(), 1);
        Network::RequestRunner::instance().restart();
        user = std::make_unique<User>(dir.wide("config"), service.baseUrl());
        DownloadAction::setCancelled(false);
        offer = api.post("/control/update?version=9.0.0.0").json;
        ASSERT_TRUE(offer["success"].asBool()) << offer;
    }
    void TearDown() override
    {
        Network::RequestRunner::instance().shutdown();
        // Left in place by the program on purpose; a test cleans up after itself.
        std::error_code ec;
        fs::remove_all(Utils::wideToUtf8(user->updaterFolder()), ec);
    }

    // Downloads the offered updater with the given digest and waits for the action to finish.
    void download(const std::string& sha256, const std::string& url = {}, std::uint64_t announcedSize = 0)
    {
        user->SendRequestTo(RequestId::DownloadUpdater, std::make_shared<DownloadAction>(kWindow, sha256),
                            Network::URL(url.empty() ? offer["url"].asString() : url), announcedSize);
        Network::RequestRunner::instance().waitForAll();
    }
    fs::path savedUpdater() const { return fs::path(Utils::wideToUtf8(user->updaterFolder())) / "korvex_updater"; }
    // Everything in the updater's folder, hidden partial downloads included.
    std::vector<std::string> runFolderEntries() const
    {
        return namesIn(savedUpdater().parent_path());
    }
    fs::path updaterLog() const { return home.path() / "Documents/PDF_Splitting_And_merging_Lumo/updater.log"; }

    TempDir dir;
    TempDir home;
    ServiceProcess service{fs::path(dir.path() / "service.db"), {"--updater", updaterProgram().string()}};
    ApiClient api{service};
    ScopedRecordingSink sink;
    std::unique_ptr<User> user;
    Json::Value offer;
};

} // namespace

TEST_F(DownloadActionTest, AVerifiedUpdaterIsSavedPrivatelyMadeExecutableAndStarted)
{
    const std::string program = readFile(updaterProgram());
    ASSERT_EQ(offer["sha256"].asString(), Utils::sha256Hex(program));
    // Upper-case hexadecimal is the same digest.
    std::string upper = offer["sha256"].asString();
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    download(upper);

    EXPECT_TRUE(sink->waitForMessage(WM_UI_NOTIFY, Notify::UpdaterStarted));
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, Notify::DownloadFinished), 0u);
    EXPECT_EQ(sink->count(WM_CLOSE), 0u);
    // Progress reached the window with the full size at the end.
    bool complete = false;
    for (const RecordedMessage& m : sink->messages()) {
        if (m.message != WM_DOWNLOAD_PROGRESS)
            continue;
        EXPECT_EQ(m.window, kWindow);
        const auto* received = m.as<NotifyNumber>();
        ASSERT_NE(received, nullptr);
        complete = complete || (m.wParam == static_cast<std::intptr_t>(program.size()) &&
                                received->value == static_cast<std::intptr_t>(program.size()));
    }
    EXPECT_TRUE(complete);

    ASSERT_TRUE(fs::exists(savedUpdater()));
    EXPECT_EQ(runFolderEntries(), std::vector<std::string>{"korvex_updater"});
    EXPECT_EQ(readFile(savedUpdater()), program);
    EXPECT_EQ(fs::status(savedUpdater()).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_EQ(fs::status(savedUpdater().parent_path()).permissions() & fs::perms::all, fs::perms::owner_all);

    // The updater runs on its own; its note names the program's folder, ending with "/".
    const std::string folder = Utils::wideToUtf8(Utils::getModuleDirectory());
    std::string note;
    for (int i = 0; i < 600 && note.find('\n') == std::string::npos; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        note = fs::exists(updaterLog()) ? readFile(updaterLog()) : std::string();
    }
    EXPECT_EQ(note, "korvex_updater would update \"" + folder + "\"\n");
    fs::remove(savedUpdater());
}

TEST_F(DownloadActionTest, AWrongOrMissingDigestNeverWritesOrStartsAnything)
{
    const std::string right = offer["sha256"].asString();
    std::string wrong = right;
    wrong[0] = wrong[0] == '0' ? '1' : '0';
    for (const std::string& digest : {wrong, std::string(), right.substr(0, 63), std::string(64, 'z')}) {
        download(digest);
        EXPECT_TRUE(runFolderEntries().empty()) << digest;
    }
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, Notify::DownloadFinished), 4u);
    EXPECT_EQ(sink->count(WM_CLOSE), 4u);
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, Notify::UpdaterStarted), 0u);
    // Nothing was started that could have written a note.
    Network::RequestRunner::instance().waitForAll();
    EXPECT_FALSE(fs::exists(updaterLog()));
}

TEST_F(DownloadActionTest, ABrokenTransferFailsWithTheMessageAndLeavesNoFile)
{
    ASSERT_TRUE(api.post("/control/fault?kind=disconnect&path=/download/updater").json["success"].asBool());
    download(offer["sha256"].asString());
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, Notify::DownloadFinished), 1u);
    EXPECT_EQ(sink->count(WM_CLOSE), 1u);
    EXPECT_TRUE(runFolderEntries().empty());

    // A server error page is a complete transfer, but not the program: the digest refuses it.
    ASSERT_TRUE(api.post("/control/fault?kind=error&path=/download/updater").json["success"].asBool());
    download(offer["sha256"].asString());
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, Notify::DownloadFinished), 2u);
    EXPECT_TRUE(runFolderEntries().empty());
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, Notify::UpdaterStarted), 0u);
}

TEST_F(DownloadActionTest, ACancelledDownloadEndsQuietlyWithNoFile)
{
    DownloadAction::setCancelled(true);
    download(offer["sha256"].asString());
    EXPECT_TRUE(DownloadAction::cancelled());
    EXPECT_EQ(sink->count(WM_CLOSE), 1u);
    EXPECT_EQ(sink->count(WM_UI_NOTIFY), 0u);
    EXPECT_TRUE(runFolderEntries().empty());
    EXPECT_FALSE(fs::exists(updaterLog()));
}

TEST_F(DownloadActionTest, AnUpdaterLongerThanAnnouncedOrWithoutEndFailsAndLeavesNoFile)
{
    const std::string program = readFile(updaterProgram());
    const std::string digest = offer["sha256"].asString();
    ASSERT_EQ(offer["size"].asUInt64(), program.size());
    LocalHttpServer http;
    http.server().Get("/longer", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content(program + "#", "application/octet-stream");
    });
    // The program, then more without end and without a length.
    http.server().Get("/endless", [&](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider("application/octet-stream", [&](size_t offset, httplib::DataSink& sink) {
            return offset == 0 ? sink.write(program.data(), program.size()) : sink.write("\n", 1);
        });
    });
    http.start();
    download(digest, http.base() + "/longer", program.size());
    download(digest, http.base() + "/endless", program.size());
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, Notify::DownloadFinished), 2u);
    EXPECT_EQ(sink->count(WM_CLOSE), 2u);
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, Notify::UpdaterStarted), 0u);
    EXPECT_TRUE(runFolderEntries().empty());
    EXPECT_FALSE(fs::exists(updaterLog()));
}

TEST(DownloadLinks, OnlyHttpsOrPlainHttpToThisMachine)
{
    for (const char* good : {"https://dl.example.com/u", "HTTPS://dl.example.com:8443/a?b=c", "http://127.0.0.1:9/x",
                             "http://127.1.2.3/x", "http://localhost/x", "http://LOCALHOST:80", "http://[::1]:8080/u"})
        EXPECT_TRUE(DownloadAction::isAllowedLink(good)) << good;
    for (const char* bad : {"http://dl.example.com/u", "http://127.0.0.1.example.com/u", "http://127.0.0.1@evil.example/u",
                            "https://user@dl.example.com/u", "ftp://127.0.0.1/u", "file:///etc/passwd", "", "127.0.0.1/u",
                            "http:///u", "http://localhost.example/u", "http://127.0.0.1:8x/u", "http://[::2]/u",
                            "http://127.0.0.256/u", "http://127.1/u"})
        EXPECT_FALSE(DownloadAction::isAllowedLink(bad)) << bad;
}

TEST(DownloadProgress, PostsSizesAndStopsOnlyWhenCancelled)
{
    ScopedRecordingSink sink;
    DownloadAction action(kWindow, "");
    DownloadAction::setCancelled(false);
    EXPECT_EQ(action.OnProgress(0.5, 2097152.0, 524288.0, 0, 0), 0);
    DownloadAction::setCancelled(true);
    EXPECT_EQ(action.OnProgress(0.5, 8e9, 5e9, 0, 0), 1);
    DownloadAction::setCancelled(false);
    const auto messages = sink->messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].message, WM_DOWNLOAD_PROGRESS);
    EXPECT_EQ(messages[0].wParam, 2097152);
    EXPECT_EQ(messages[0].as<NotifyNumber>()->value, 524288);
    // Sizes beyond the message's integers are clamped, never wrapped into nonsense.
    EXPECT_EQ(static_cast<std::uint32_t>(messages[1].wParam), 0xFFFFFFFFu);
    EXPECT_EQ(messages[1].as<NotifyNumber>()->value, 0x7FFFFFFF);
}
