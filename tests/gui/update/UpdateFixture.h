#pragma once
// A main window talking to the stand-in service, which hands out the real korvex_updater; the
// updater notes what it would update under this fixture's own $HOME.

#include "ApiClient.h"
#include "app/Glossary.h"
#include "common/Utils.h"
#include "mainwnd/CMainWnd.h"
#include "network/RequestRunner.h"
#include "seam/QtMessageSink.h"
#include "support/ServiceProcess.h"
#include "support/TempDir.h"
#include "user/User.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

// What a message box showed before a button of it was clicked.
struct SeenBox {
    bool seen = false;
    QString text;
    QString confirmText;
    QString cancelText;
};

class UpdateFixture : public testing::Test {
protected:
    static std::filesystem::path binFolder() { return Utils::wideToUtf8(Utils::getModuleDirectory()); }

    void SetUp() override
    {
        ::setenv("HOME", home.path().c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (home.path() / ".config").c_str(), 1);
        QtMessageSink::instance();
        Network::RequestRunner::instance().restart();
        user = std::make_unique<User>(dir.wide("config"), service.baseUrl());
        user->setLanguage(Glossary::CHINESE);
    }
    void TearDown() override
    {
        polls.reset();
        window.reset();
        Network::RequestRunner::instance().shutdown();
    }
    void offerUpdate() { ASSERT_TRUE(api.post("/control/update?version=9.0.0.0&msg=Version%209%20is%20out").json["success"].asBool()); }
    CMainWnd& open()
    {
        window = std::make_unique<CMainWnd>();
        QObject::connect(window.get(), &CMainWnd::quitRequested, [this] { quitRequested = true; });
        window->initWindow();
        window->show();
        return *window;
    }
    static bool pumpUntil(const std::function<bool()>& done, int ms = 30000)
    {
        QElapsedTimer timer;
        timer.start();
        while (!done() && timer.elapsed() < ms)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    }
    // Clicks the named button of the next message box once it shows, noting what it showed.
    void answerNextBox(const QString& button, SeenBox* seen) { answerBoxes({{button, seen}}); }
    // The same for several boxes in turn (a box may come up inside another's modal run).
    void answerBoxes(std::vector<std::pair<QString, SeenBox*>> answers)
    {
        // Owned by the test: a box that never came cannot be answered in the next test.
        auto* poll = new QTimer(polls.get());
        poll->setInterval(20);
        auto next = std::make_shared<std::size_t>(0);
        QObject::connect(poll, &QTimer::timeout, [poll, answers, next] {
            QWidget* box = QApplication::activeModalWidget();
            if (!box || box->objectName() != QLatin1String("msgwnd") || box->property("answered").toBool())
                return;
            box->setProperty("answered", true);
            const auto& [button, seen] = answers[*next];
            if (++*next == answers.size()) {
                poll->stop();
                poll->deleteLater();
            }
            const auto text = [box](const char* name) {
                if (auto* label = box->findChild<QLabel*>(QString::fromLatin1(name)))
                    return label->text();
                if (auto* b = box->findChild<QAbstractButton*>(QString::fromLatin1(name)))
                    return b->text();
                return QString();
            };
            seen->text = text("MsgText");
            seen->confirmText = text("BtnConfirm");
            seen->cancelText = text("BtnCancel");
            seen->seen = true;
            if (auto* b = box->findChild<QAbstractButton*>(button))
                QTimer::singleShot(0, b, &QAbstractButton::click);
        });
        poll->start();
    }
    std::filesystem::path updaterLog() const { return home.path() / "Documents/PDF_Splitting_And_merging_Lumo/updater.log"; }
    std::filesystem::path savedUpdater() const
    {
        return std::filesystem::path(Utils::wideToUtf8(user->runFolder())) / "korvex_updater";
    }

    TempDir dir;
    TempDir home;
    ServiceProcess service{dir.path() / "service.db", {"--updater", (binFolder() / "korvex_updater").string()}};
    ApiClient api{service};
    std::unique_ptr<User> user;
    std::unique_ptr<CMainWnd> window;
    std::unique_ptr<QObject> polls = std::make_unique<QObject>();
    bool quitRequested = false;
};
