#pragma once
// A main window on a fresh configuration, offline (the service address is a closed loopback
// port), with helpers to answer the message boxes it opens. A message box that no answer was
// set up for fails the test at once and is closed, instead of holding the test in its modal
// loop until ctest's time-out.

#include "core/app/Glossary.h"
#include "core/network/RequestRunner.h"
#include "core/user/User.h"
#include "gui/GuiWait.h"
#include "gui/filelist/FileListWidget.h"
#include "gui/mainwnd/CMainWnd.h"
#include "gui/mainwnd/FileListController.h"
#include "gui/mainwnd/PaneSwitcher.h"
#include "gui/seam/QtMessageSink.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QSystemTrayIcon>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class MainWindowFixture : public testing::Test {
protected:
    void SetUp() override
    {
        QtMessageSink::instance();
        Network::RequestRunner::instance().restart();
        user = std::make_unique<User>(dir.wide("config"), "http://127.0.0.1:1");
        user->setSavePath((dir.path() / "out").string());
        user->setLanguage(Glossary::CHINESE);
        watchForUnexpectedBoxes();
    }
    void TearDown() override
    {
        m_boxWatch.reset();
        window.reset();
        Network::RequestRunner::instance().shutdown();
    }
    CMainWnd& open() { return openWith(nullptr); }
    // The same, with the maker's help and about pages an installation would give.
    CMainWnd& openWith(const MakerPages& pages) { return openWith(&pages); }
    CMainWnd& openWith(const MakerPages* pages)
    {
        window = std::make_unique<CMainWnd>();
        if (pages)
            window->makerPages() = *pages;
        window->initWindow();
        window->show();
        pump();
        return *window;
    }
    // The same, for a user of the given service.
    CMainWnd& openOnline(const std::string& serviceBase)
    {
        user = std::make_unique<User>(dir.wide("config-online"), serviceBase);
        return openWith({});
    }
    // Closes the window with "run in the background": it hides, or only minimises where there
    // is no tray, so that it can never be lost.
    void closeToTheBackground()
    {
        answerNextBox(QStringLiteral("BtnConfirm"));
        window->onClick(QStringLiteral("closebtn"));
        if (QSystemTrayIcon::isSystemTrayAvailable())
            EXPECT_FALSE(window->isVisible());
        else
            EXPECT_TRUE(window->isMinimized());
    }
    // Runs the event loop until the condition holds. The limit only ends a test that would
    // otherwise hang: a loaded machine may need far longer than an idle one for qpdf's runs.
    static constexpr qint64 kPatienceMs = 180000;
    static bool pumpUntil(const std::function<bool()>& done)
    {
        return GuiWait::until(done, static_cast<int>(kPatienceMs));
    }
    static void pump(int ms = 50)
    {
        GuiWait::events(ms);
    }
    // Shows the zone, as the header or the zone list would, and drops the named files of the
    // test's folder on it; returns its rows once every one is inspected.
    QList<ListRowWidget*> dropOnZone(int zone, const std::vector<std::string>& names)
    {
        window->paneSwitcher().switchTo(PaneSwitcher::kPdfCategory, PaneSwitcher::pdfItem(zone));
        pump();
        QStringList paths;
        for (const std::string& name : names)
            paths << QString::fromStdString(dir.file(name).string());
        window->dropFiles(paths);
        EXPECT_TRUE(pumpUntil([&] { return window->paneSwitcher().zoneState(zone) == PaneSwitcher::Ready; }));
        return window->fileLists().list(zone)->rows();
    }
    // Clicks the named button of the next modal dialog once it is shown; records its text. A
    // polling timer, so that it also fires inside the dialog's own event loop.
    void answerNextBox(const QString& button, QString* text = nullptr)
    {
        auto* poll = new QTimer;
        poll->setInterval(20);
        ++*m_expectedBoxes;
        QObject::connect(poll, &QTimer::timeout, [poll, button, text, expected = m_expectedBoxes] {
            QWidget* box = QApplication::activeModalWidget();
            if (!box)
                return;
            poll->stop();
            poll->deleteLater();
            --*expected;
            if (text)
                if (auto* label = box->findChild<QLabel*>(QStringLiteral("MsgText")))
                    *text = label->text();
            if (auto* b = box->findChild<QAbstractButton*>(button))
                b->click();
        });
        poll->start();
    }
    // Message boxes are the program's CMessageWnd ("msgwnd"); other dialogs (login, feedback,
    // password prompt, file dialog) are driven by the tests that open them.
    void watchForUnexpectedBoxes()
    {
        m_boxWatch = std::make_unique<QTimer>();
        m_boxWatch->setInterval(50);
        QObject::connect(m_boxWatch.get(), &QTimer::timeout, [expected = m_expectedBoxes] {
            auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (*expected > 0 || !box || box->objectName() != QLatin1String("msgwnd") || !box->isVisible())
                return;
            const auto* label = box->findChild<QLabel*>(QStringLiteral("MsgText"));
            ADD_FAILURE() << "unexpected message box: " << (label ? label->text().toStdString() : std::string());
            box->reject();
        });
        m_boxWatch->start();
    }
    template <class T> T* child(const char* name) { return window->findChild<T*>(QString::fromLatin1(name)); }

    TempDir dir;
    std::unique_ptr<User> user;
    std::unique_ptr<CMainWnd> window;

private:
    // Answers set up and not yet given; shared with the polls, which may outlive the test.
    std::shared_ptr<int> m_expectedBoxes = std::make_shared<int>(0);
    std::unique_ptr<QTimer> m_boxWatch;
};
