#pragma once
// A main window talking to the stand-in service, which hands out the real korvex_updater; the
// updater notes what it would update under this fixture's own $HOME.

#include "ApiClient.h"
#include "core/app/Glossary.h"
#include "core/common/Utils.h"
#include "core/network/RequestRunner.h"
#include "core/user/User.h"
#include "gui/GuiWait.h"
#include "gui/MessageBoxAnswers.h"
#include "gui/ServiceUser.h"
#include "gui/mainwnd/CMainWnd.h"
#include "gui/seam/QtMessageSink.h"
#include "support/ServiceProcess.h"
#include "support/TempDir.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

class UpdateFixture : public testing::Test {
protected:
    static std::filesystem::path binFolder() { return Utils::wideToUtf8(Utils::getModuleDirectory()); }

    void SetUp() override
    {
        ::setenv("HOME", home.path().c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (home.path() / ".config").c_str(), 1);
        user = startServiceUser(dir, service);
    }
    void TearDown() override
    {
        boxes.stop();
        window.reset();
        Network::RequestRunner::instance().shutdown();
        // Left in place by the program on purpose; a test cleans up after itself.
        std::error_code ec;
        std::filesystem::remove_all(Utils::wideToUtf8(user->updaterFolder()), ec);
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
        return GuiWait::until(done, ms);
    }
    void answerNextBox(const QString& button, SeenBox* seen) { boxes.answerNext(button, seen); }
    void answerBoxes(std::vector<std::pair<QString, SeenBox*>> answers) { boxes.answerInTurn(std::move(answers)); }
    std::filesystem::path updaterLog() const { return home.path() / "Documents/PDF_Splitting_And_merging_Lumo/updater.log"; }
    std::filesystem::path savedUpdater() const
    {
        return std::filesystem::path(Utils::wideToUtf8(user->updaterFolder())) / "korvex_updater";
    }

    TempDir dir;
    TempDir home;
    ServiceProcess service{dir.path() / "service.db", {"--updater", (binFolder() / "korvex_updater").string()}};
    ApiClient api{service};
    std::unique_ptr<User> user;
    std::unique_ptr<CMainWnd> window;
    MessageBoxAnswers boxes;
    bool quitRequested = false;
};
