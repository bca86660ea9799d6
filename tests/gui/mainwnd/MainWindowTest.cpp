#include "MainWindowFixture.h"

#include "core/actions/ActionPayloads.h"
#include "core/app/TextTable.h"
#include "core/common/Utils.h"
#include "core/message/WindowMessages.h"
#include "core/network/NotifyPayload.h"
#include "core/tasks/TaskPayloads.h"
#include "gui/filelist/FileListWidget.h"
#include "gui/mainwnd/AccountHeader.h"
#include "gui/mainwnd/AdRotation.h"
#include "gui/mainwnd/FileListController.h"
#include "gui/mainwnd/HistoryPanel.h"
#include "support/LocalHttpServer.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QSystemTrayIcon>

#include <gtest/gtest-spi.h>

#include <atomic>

using namespace WindowMessages;

namespace {

std::atomic<int> g_alive{0};
struct CountedText : RowText {
    explicit CountedText(RowId row) : RowText(row, L"gone") { ++g_alive; }
    ~CountedText() override { --g_alive; }
};

} // namespace

TEST_F(MainWindowFixture, StartsInChineseInTheSplitZonesEmptyPage)
{
    window = std::make_unique<CMainWnd>();
    window->initWindow();
    // A Chinese start asks for the advertisements once, shortly after the window is up. Seen
    // before any event is processed, the timer is running whatever the machine's load...
    EXPECT_TRUE(window->ads().requestPending());
    window->show();
    // ...and once it has fired it stops itself.
    EXPECT_TRUE(pumpUntil([&] { return !window->ads().requestPending(); }));
    EXPECT_EQ(user->getValue("m_language"), "Glossary::Language::CHINESE");
    EXPECT_EQ(window->size(), QSize(990, 690));
    EXPECT_EQ(child<QLabel>("historyLbl")->text(), QStringLiteral("历史列表"));
    EXPECT_TRUE(child<QLabel>("titlelbl")->toolTip().startsWith(QStringLiteral("Tavrin分割合并(Lumo专版) v")));
    EXPECT_EQ(window->paneSwitcher().currentZone(), 13);
    auto* zones = child<QStackedWidget>("workingzone");
    EXPECT_EQ(zones->currentWidget()->objectName(), QStringLiteral("animGifContainer"));
    EXPECT_EQ(child<QLabel>("promptionLbl")->text(), QStringLiteral("请将PDF文件拖拽至此处或单击此区域添加文件"));
    EXPECT_EQ(child<QLineEdit>("outdiredit")->text(), QString::fromStdString((dir.path() / "out").string()));
}

TEST_F(MainWindowFixture, LanguageSwitchChangesLayoutTextsAndTitle)
{
    open();
    window->onClick(QStringLiteral("switchlanbtn"));
    pump();
    EXPECT_EQ(user->getLanguage(), Glossary::ENGLSH);
    EXPECT_EQ(child<QLabel>("historyLbl")->text(), QStringLiteral("History"));
    EXPECT_TRUE(child<QLabel>("titlelbl")->toolTip().startsWith(QStringLiteral("Korvex PDF Spllitting And Merging(LumoVersion) v")));
    EXPECT_EQ(child<QLabel>("promptionLbl")->text(), QStringLiteral("Drag PDF File Onto Here Or Click Here To Add File"));
    window->onClick(QStringLiteral("switchlanbtn"));
    pump();
    EXPECT_EQ(child<QLabel>("historyLbl")->text(), QStringLiteral("历史列表"));
}

TEST_F(MainWindowFixture, ZoneAndTimerMessagesHaveTheirEffects)
{
    open();
    auto& sink = MessageSink::current();
    const WindowHandle handle = window->seamHandle();
    sink.post(handle, WM_START_TIMER, 1, std::make_unique<TimerPayload>(10000));
    pump();
    EXPECT_TRUE(window->account().isPolling());
    sink.post(handle, WM_STOP_TIMER, 1, nullptr);
    pump();
    EXPECT_FALSE(window->account().isPolling());

    // A finished run with an empty list goes back to the empty page; a merge zone switch shows it.
    window->paneSwitcher().setState(12, PaneSwitcher::Converting);
    sink.post(handle, WM_RUN_FINISHED, 12, std::make_unique<NotifyNumber>(4));
    pump();
    EXPECT_EQ(window->paneSwitcher().zoneState(12), PaneSwitcher::Empty);
    window->paneSwitcher().setState(13, PaneSwitcher::Finished);
    pump();
    EXPECT_TRUE(child<QWidget>("continueConvHor")->isVisible());
    EXPECT_TRUE(child<QWidget>("continueConvBtn")->isEnabled());
    window->paneSwitcher().setState(13, PaneSwitcher::Converting);
    pump();
    EXPECT_FALSE(child<QWidget>("continueConvBtn")->isEnabled());
    EXPECT_FALSE(child<QWidget>("workingzoneattach")->isVisible());
    sink.post(handle, WM_FILE_CHECK_DONE, 13, nullptr);
    pump();
    EXPECT_EQ(window->paneSwitcher().zoneState(13), PaneSwitcher::Empty);
    EXPECT_TRUE(window->fileLists().inspectionIdle());

    // Row messages for a row that is gone free their payload and change nothing.
    sink.post(handle, WM_UI_NOTIFY, kRowTextNotify, std::make_unique<CountedText>(987654));
    pump();
    EXPECT_EQ(g_alive.load(), 0);

    // A new output adds a history row once.
    writeFile(dir.file("out.pdf"), "%PDF-1.4");
    sink.post(handle, WM_UI_NOTIFY, 29, std::make_unique<WidePathPayload>(dir.wide("out.pdf")));
    sink.post(handle, WM_UI_NOTIFY, 29, std::make_unique<WidePathPayload>(dir.wide("out.pdf")));
    pump();
    EXPECT_EQ(window->history().list()->rowCount(), 1);

    window->hide();
    sink.post(handle, WM_ACTIVATE_INSTANCE, 0, nullptr);
    pump();
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindowFixture, AccountMessagesPromptOnlyWhenTheyShould)
{
    open();
    const WindowHandle handle = window->seamHandle();
    // Not logged in: failures to fetch account data stay quiet.
    MessageSink::current().post(handle, WM_UI_NOTIFY, Notify::AccountProblem, std::make_unique<NotifyNumber>(47));
    pump();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // The service ended the login: the user is logged off and told so.
    user->setOpenKey("k");
    user->setUserName("Ann");
    QString shown;
    answerNextBox(QStringLiteral("BtnConfirm"), &shown);
    MessageSink::current().post(handle, WM_UI_NOTIFY, Notify::LoggedOffElsewhere, nullptr);
    ASSERT_TRUE(pumpUntil([&] { return !shown.isEmpty(); }));
    EXPECT_NE(shown.indexOf(QStringLiteral("您的账户已失效")), -1);
    ASSERT_TRUE(pumpUntil([&] { return !user->isLoggedIn(); }));

    // An update check that finds nothing: silent at start, a message when asked for.
    Json::Value reply;
    reply["success"] = false;
    MessageSink::current().post(handle, WM_UI_NOTIFY, Notify::UpgradeReply, std::make_unique<UpgradeInfo>(reply, true));
    pump();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    shown.clear();
    answerNextBox(QStringLiteral("BtnConfirm"), &shown);
    MessageSink::current().post(handle, WM_UI_NOTIFY, Notify::UpgradeReply, std::make_unique<UpgradeInfo>(reply, false));
    ASSERT_TRUE(pumpUntil([&] { return !shown.isEmpty(); }));
    EXPECT_NE(shown.indexOf(QStringLiteral("感谢使用")), -1);
}

TEST_F(MainWindowFixture, ClosePromptHidesQuitsOrDoesNothing)
{
    open();
    QSignalSpy quit(window.get(), &CMainWnd::quitRequested);
    answerNextBox(QStringLiteral("closebtn"));
    window->onClick(QStringLiteral("closebtn"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(quit.count(), 0);

    // Running in the background hides the window, or minimises it where there is no tray.
    closeToTheBackground();
    EXPECT_EQ(quit.count(), 0);

    window->showNormal();
    answerNextBox(QStringLiteral("BtnCancel"));
    window->onClick(QStringLiteral("closebtn"));
    EXPECT_EQ(quit.count(), 1);
}

TEST_F(MainWindowFixture, HistoryDropsFilesThatAreGoneAtStart)
{
    writeFile(dir.file("kept.pdf"), "x");
    user->addHistory(Utils::wideToAnsi(dir.wide("kept.pdf")));
    user->addHistory(Utils::wideToAnsi(dir.wide("deleted.pdf")));
    user->addHistory(Utils::wideToAnsi(dir.wide("kept.pdf")));
    open();
    EXPECT_EQ(window->history().list()->rowCount(), 1);
    EXPECT_EQ(user->getHistory(), std::vector<std::string>{Utils::wideToAnsi(dir.wide("kept.pdf"))});
}

TEST_F(MainWindowFixture, AnUnexpectedMessageBoxFailsTheTestAtOnceAndIsClosed)
{
    open();
    // The close prompt, which nothing here answers: the modal run ends with a failure named
    // after the box instead of waiting for ctest's time-out.
    EXPECT_NONFATAL_FAILURE(window->onClick(QStringLiteral("closebtn")), "unexpected message box: ");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(window->isVisible()); // closed, not answered: nothing happened
}

TEST_F(MainWindowFixture, AGarbledLoginStatusReplyLeavesTheUserLoggedIn)
{
    // A status reply whose "success" is the text "true" is a reply of the wrong shape, which
    // the window ignores; it neither logs the user off nor says the account is gone.
    std::atomic<int> statusReplies{0};
    LocalHttpServer http;
    http.server().Get("/index.php", [&](const httplib::Request& req, httplib::Response& res) {
        const std::string type = req.get_param_value("type");
        if (type == "GetLoginStatus") {
            res.set_content(R"({"success":"true","open_key":"k"})", "application/json");
            ++statusReplies;
        } else if (type == "GetConfig") {
            res.set_content(R"({"success":true,"result":{"domain":"http://127.0.0.1/","binding_phone":false}})",
                            "application/json");
        } else { // no update on offer, nothing else to say
            res.set_content(R"({"success":false})", "application/json");
        }
    });
    http.start();
    user = std::make_unique<User>(dir.wide("config-online"), http.base());
    user->setLanguage(Glossary::CHINESE);
    user->setOpenKey("k");
    user->setUserName("Ann");
    open();
    // The status timer, as a sign-in starts it, only sooner.
    MessageSink::current().post(window->seamHandle(), WM_START_TIMER, kLoginStatusTimer, std::make_unique<TimerPayload>(20));
    ASSERT_TRUE(pumpUntil([&] { return statusReplies >= 3; }));
    Network::RequestRunner::instance().waitForAll();
    pump(100);
    EXPECT_TRUE(user->isLoggedIn());
    EXPECT_EQ(user->getOpenKey(), "k");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
