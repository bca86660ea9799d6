#pragma once
// A login window talking to the stand-in service on a loopback port, with a window of the
// test's own as its owner, and helpers to reach the service's control endpoints.

#include "core/common/Utils.h"
#include "core/network/RequestRunner.h"
#include "core/user/User.h"
#include "gui/GuiWait.h"
#include "gui/ServiceUser.h"
#include "gui/login/LoginWnd.h"
#include "gui/seam/QtMessageSink.h"
#include "support/ServiceProcess.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QStackedWidget>

#include <httplib.h>
#include <json/json.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>

// Stands in for the main window: counts what reaches it.
class OwnerWindow : public QObject, public SeamWindow {
public:
    OwnerWindow() : SeamWindow(this) {}
    std::intptr_t handleSeamMessage(int message, std::intptr_t, std::unique_ptr<MessagePayload>) override
    {
        ++received[message];
        return 0;
    }
    bool event(QEvent* event) override { return dispatchSeamEvent(event) || QObject::event(event); }
    std::map<int, int> received;
};

class LoginFixture : public testing::Test {
protected:
    void SetUp() override
    {
        user = startServiceUser(dir, service);
    }
    void TearDown() override
    {
        login.reset();
        Network::RequestRunner::instance().shutdown();
    }

    LoginWnd& open(int tickMs = 1000)
    {
        login = std::make_unique<LoginWnd>(owner.seamHandle());
        login->setTickInterval(tickMs);
        login->initWindow();
        login->show();
        return *login;
    }
    template <class T> T* child(const char* name) const
    {
        T* found = login->findChild<T*>(QString::fromLatin1(name));
        EXPECT_TRUE(found) << name;
        return found;
    }
    QString markup(const char* name) const { return child<QWidget>(name)->property("markup").toString(); }
    void click(const char* name) const { child<QAbstractButton>(name)->click(); }
    void type(const char* name, const QString& text) const
    {
        auto* edit = child<QLineEdit>(name);
        edit->clear();
        edit->insert(text);
    }
    bool closed() const { return !login->isVisible(); }
    // In a login window shown as a dialog: signs in with the phone and the code the service
    // sent it, and waits for the window to close.
    void signInWithSmsCode(QWidget* dialog, const std::string& phone)
    {
        dialog->findChild<QAbstractButton*>(QStringLiteral("tabopt2"))->click();
        dialog->findChild<QLineEdit*>(QStringLiteral("phonenumberedit1"))->setText(QString::fromStdString(phone));
        dialog->findChild<QAbstractButton*>(QStringLiteral("sendmsgcodebtn1"))->click();
        ASSERT_TRUE(pumpUntil([&] { return !smsCode(phone).empty(); }));
        dialog->findChild<QLineEdit*>(QStringLiteral("msgcodeedit1"))->setText(QString::fromStdString(smsCode(phone)));
        ASSERT_TRUE(pumpUntil([&] { return !dialog->isVisible(); }));
    }

    // Runs the event loop until the condition holds (or a generous limit passes).
    static bool pumpUntil(const std::function<bool()>& done, int limitMs = 60000)
    {
        return GuiWait::until(done, limitMs);
    }
    bool waitForMarkup(const char* name, const QString& text)
    {
        const bool ok = pumpUntil([&] { return markup(name) == text; });
        EXPECT_EQ(markup(name), text);
        return ok;
    }

    Json::Value control(const std::string& method, const std::string& path)
    {
        httplib::Client client(service.host(), service.port());
        const auto result = method == "POST" ? client.Post(path.c_str()) : client.Get(path.c_str());
        Json::Value root;
        if (result)
            Json::Reader().parse(result->body, root);
        return root;
    }
    std::string smsCode(const std::string& phone)
    {
        return control("GET", "/control/sms?phone=" + phone)["code"].asString();
    }
    Json::Value account(const std::string& query) { return control("GET", "/control/account?" + query)["result"]; }
    // The identity the configuration file holds now.
    std::pair<std::string, std::string> storedIdentity()
    {
        Json::Value root;
        Json::Reader().parse(readFile(Utils::toFsPath(user->getConfigFile())), root);
        return {root["m_userid"].asString(), root["m_openkey"].asString()};
    }

    ServiceProcess service;
    TempDir dir;
    std::unique_ptr<User> user;
    OwnerWindow owner;
    std::unique_ptr<LoginWnd> login;
};
