// The download window on its own: its status line and bar, the stop button in the middle of a
// transfer, and downloads that must never be installed.

#include "UpdateFixture.h"

#include "core/actions/DownloadAction.h"
#include "core/common/Sha256.h"
#include "core/message/WindowMessages.h"
#include "core/network/NotifyPayload.h"
#include "gui/update/DownloadWnd.h"
#include "support/LocalHttpServer.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include <condition_variable>
#include <mutex>

using namespace WindowMessages;
namespace fs = std::filesystem;

namespace {

void progress(DownloadWnd& window, std::uint32_t total, std::intptr_t received)
{
    window.handleSeamMessage(WM_DOWNLOAD_PROGRESS, total, std::make_unique<NotifyNumber>(received));
}

// Holds a transfer open after its first part until the test ends.
struct HeldTransfer {
    std::mutex mutex;
    std::condition_variable changed;
    bool released = false;
    void release()
    {
        std::lock_guard lock(mutex);
        released = true;
        changed.notify_all();
    }
};

} // namespace

TEST(DownloadWindow, StatusLineAndBarFollowTheProgressAsFormatted)
{
    EXPECT_EQ(DownloadWnd::statusText(524288, 2097152), QStringLiteral("25% [512.00 KB/2.0 MB]"));
    EXPECT_EQ(DownloadWnd::statusText(1000, 1000), QStringLiteral("100% [1000.00 B/1000.00 B]"));
    EXPECT_TRUE(DownloadWnd::statusText(0, 2097152).isEmpty());
    EXPECT_TRUE(DownloadWnd::statusText(5000, 0).isEmpty()); // no length sent
    EXPECT_TRUE(DownloadWnd::statusText(99, 10000).isEmpty()); // below 1%

    DownloadWnd window;
    EXPECT_EQ(window.objectName(), QStringLiteral("DownWnd"));
    EXPECT_EQ(window.size(), DownloadWnd::kSize);
    auto* status = window.findChild<QLabel*>(QStringLiteral("StatueLabel"));
    auto* bar = window.findChild<QProgressBar*>(QStringLiteral("progress"));
    ASSERT_TRUE(status && bar);
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 100);
    progress(window, 2097152, 524288);
    EXPECT_EQ(status->text(), QStringLiteral("25% [512.00 KB/2.0 MB]"));
    EXPECT_EQ(bar->value(), 25);
    progress(window, 0, 900000);     // unknown total: unchanged
    progress(window, 2097152, 1000); // below 1%: unchanged
    EXPECT_EQ(bar->value(), 25);
    progress(window, 1000, 5000); // more than announced: held at 100
    EXPECT_EQ(bar->value(), 100);
    EXPECT_EQ(status->text(), QStringLiteral("100% [4.88 KB/1000.00 B]"));
}

TEST_F(UpdateFixture, StoppingMidwayEndsTheTransferQuietlyAndLeavesNoFile)
{
    HeldTransfer held;
    LocalHttpServer http;
    http.server().Get("/updater", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(2097152, "application/octet-stream", [&](size_t offset, size_t, httplib::DataSink& sink) {
            if (offset == 0) {
                const std::string part(524288, 'x');
                return sink.write(part.data(), part.size());
            }
            std::unique_lock lock(held.mutex);
            held.changed.wait_for(lock, std::chrono::seconds(60), [&] { return held.released; });
            return false;
        });
    });
    http.start();
    struct Release {
        HeldTransfer& held;
        ~Release() { held.release(); }
    } release{held};

    DownloadWnd window;
    window.startDownload(QString::fromStdString(http.base() + "/updater"), QString(64, QLatin1Char('0')));
    QString shown;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        shown = window.findChild<QLabel*>(QStringLiteral("StatueLabel"))->text();
        if (window.isVisible() && shown == QStringLiteral("25% [512.00 KB/2.0 MB]"))
            window.findChild<QPushButton*>(QStringLiteral("StopBtn"))->click();
    });
    poll.start();
    QTimer::singleShot(60000, &window, [&] { window.done(-1); }); // never hang
    EXPECT_EQ(window.showModal(), DownloadWnd::Stopped);
    poll.stop();
    EXPECT_EQ(shown, QStringLiteral("25% [512.00 KB/2.0 MB]"));
    EXPECT_EQ(window.findChild<QProgressBar*>(QStringLiteral("progress"))->value(), 25);

    // The transfer ends at its next progress call, with no message and nothing written.
    SeenBox box;
    answerNextBox(QStringLiteral("BtnConfirm"), &box);
    Network::RequestRunner::instance().waitForAll();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    EXPECT_FALSE(box.seen);
    EXPECT_FALSE(fs::exists(savedUpdater()));
    EXPECT_TRUE(fs::is_empty(Utils::wideToUtf8(user->runFolder())));
}

TEST_F(UpdateFixture, AProgramWithAnotherDigestIsNeverWrittenOrStarted)
{
    const std::string program = "#!/bin/sh\necho started >\"$HOME/started\"\n";
    LocalHttpServer http;
    http.server().Get("/updater", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content(program, "application/octet-stream");
    });
    http.start();

    SeenBox failure;
    answerNextBox(QStringLiteral("BtnConfirm"), &failure);
    DownloadWnd window;
    window.startDownload(QString::fromStdString(http.base() + "/updater"),
                         QString::fromStdString(Utils::sha256Hex(program + " ")));
    EXPECT_EQ(window.showModal(), DownloadWnd::Stopped);
    EXPECT_EQ(failure.text, QStringLiteral("更新失败，请到官网(127.0.0.1:%1)下载最新版!").arg(service.port()));
    Network::RequestRunner::instance().waitForAll();
    EXPECT_FALSE(fs::exists(savedUpdater()));
    EXPECT_FALSE(fs::exists(home.path() / "started"));
}

TEST_F(UpdateFixture, ALinkThatIsNeitherHttpsNorLoopbackIsNotDownloaded)
{
    SeenBox failure;
    answerNextBox(QStringLiteral("BtnConfirm"), &failure);
    DownloadWnd window;
    window.startDownload(QStringLiteral("http://dl.example.invalid/korvex_updater"), QString(64, QLatin1Char('0')));
    EXPECT_EQ(window.showModal(), DownloadWnd::Stopped);
    EXPECT_TRUE(failure.seen);
    EXPECT_EQ(failure.text, QStringLiteral("更新失败，请到官网(127.0.0.1:%1)下载最新版!").arg(service.port()));
}

// The failure message comes up in front of the download window, which stays until the
// message is answered and closes then.
TEST_F(UpdateFixture, TheDownloadWindowStaysBehindItsFailureMessageUntilItIsAnswered)
{
    LocalHttpServer http;
    http.server().Get("/updater", [&](const httplib::Request&, httplib::Response& res) {
        res.set_content("not the program on offer", "application/octet-stream");
    });
    http.start();

    DownloadWnd window;
    bool boxSeen = false, windowShownBehind = false;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box || box->objectName() != QLatin1String("msgwnd") || boxSeen)
            return;
        boxSeen = true;
        // Some more turns of the loop, as a user takes to read it.
        GuiWait::events(200);
        windowShownBehind = window.isVisible();
        if (auto* confirm = box->findChild<QAbstractButton*>(QStringLiteral("BtnConfirm")))
            QTimer::singleShot(0, confirm, &QAbstractButton::click);
    });
    poll.start();
    QTimer::singleShot(60000, &window, [&] { window.done(-1); }); // never hang
    window.startDownload(QString::fromStdString(http.base() + "/updater"), QString(64, QLatin1Char('0')));
    EXPECT_EQ(window.showModal(), DownloadWnd::Stopped);
    poll.stop();
    EXPECT_TRUE(boxSeen);
    EXPECT_TRUE(windowShownBehind);
    EXPECT_FALSE(window.isVisible());
}
