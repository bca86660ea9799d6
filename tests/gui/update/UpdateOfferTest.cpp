// The update check of the main window against the stand-in service: the offer box, the
// "newest version" notice, and the download that hands over to the updater.

#include "UpdateFixture.h"

#include "app/TextTable.h"
#include "common/QtText.h"

namespace fs = std::filesystem;

TEST_F(UpdateFixture, ASilentOfferAtStartShowsTheBoxAndDecliningDownloadsNothing)
{
    offerUpdate();
    SeenBox box;
    answerNextBox(QStringLiteral("BtnCancel"), &box);
    open();
    ASSERT_TRUE(pumpUntil([&] { return box.seen; }));
    EXPECT_EQ(box.text, QStringLiteral("Version 9 is out"));
    EXPECT_EQ(box.confirmText, QStringLiteral("更新"));
    EXPECT_EQ(box.cancelText, QStringLiteral("取消"));
    Network::RequestRunner::instance().waitForAll();
    QApplication::processEvents();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(quitRequested);
    EXPECT_FALSE(fs::exists(savedUpdater()));
}

TEST_F(UpdateFixture, TheUsersCheckWithoutAnOfferSaysSoWhileTheSilentOneStaysQuiet)
{
    SeenBox box;
    answerNextBox(QStringLiteral("BtnConfirm"), &box);
    open();
    // The start-up check has had its answer, and showed nothing.
    Network::RequestRunner::instance().waitForAll();
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    EXPECT_FALSE(box.seen);

    window->checkForUpdate();
    ASSERT_TRUE(pumpUntil([&] { return box.seen; }));
    EXPECT_EQ(box.text, toQt(Glossary::TextTable::instance().rawText(31, Glossary::CHINESE)));
}

TEST_F(UpdateFixture, AcceptingDownloadsVerifiesStartsTheUpdaterAndQuits)
{
    offerUpdate();
    SeenBox offer;
    answerNextBox(QStringLiteral("BtnConfirm"), &offer);
    open();
    ASSERT_TRUE(pumpUntil([&] { return quitRequested; }));
    EXPECT_TRUE(offer.seen);
    // The stand-in updater got the program's folder.
    std::string note;
    ASSERT_TRUE(pumpUntil([&] {
        note = fs::exists(updaterLog()) ? readFile(updaterLog()) : std::string();
        return note.find('\n') != std::string::npos;
    }));
    EXPECT_EQ(note, "korvex_updater would update \"" + binFolder().string() + "\"\n");
    fs::remove(savedUpdater());
}

TEST_F(UpdateFixture, ABrokenDownloadShowsTheFailureWithTheServiceHostAndStartsNothing)
{
    offerUpdate();
    ASSERT_TRUE(api.post("/control/fault?kind=disconnect&path=/download/updater").json["success"].asBool());
    SeenBox offer;
    SeenBox failure;
    answerBoxes({{QStringLiteral("BtnConfirm"), &offer}, {QStringLiteral("BtnConfirm"), &failure}});
    open();
    ASSERT_TRUE(pumpUntil([&] { return failure.seen; }));
    EXPECT_TRUE(offer.seen);
    EXPECT_EQ(failure.text, QStringLiteral("更新失败，请到官网(127.0.0.1:%1)下载最新版!").arg(service.port()));
    // The download window closes itself after the message.
    ASSERT_TRUE(pumpUntil([] { return QApplication::activeModalWidget() == nullptr; }));
    Network::RequestRunner::instance().waitForAll();
    QApplication::processEvents();
    EXPECT_FALSE(quitRequested);
    EXPECT_FALSE(fs::exists(savedUpdater()));
    EXPECT_FALSE(fs::exists(updaterLog()));
}
