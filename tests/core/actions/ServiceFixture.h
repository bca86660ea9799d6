#pragma once
// A user record talking to a small scripted service on 127.0.0.1, with a recording sink.

#include "core/network/RequestRunner.h"
#include "core/user/User.h"
#include "support/LocalHttpServer.h"
#include "support/RecordingSink.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <mutex>

class ServiceFixture : public testing::Test {
protected:
    void SetUp() override
    {
        http.server().Get("/index.php", [this](const httplib::Request& req, httplib::Response& res) {
            std::lock_guard lock(mutex);
            requests.push_back(req.params);
            const std::string type = req.get_param_value("type");
            const auto it = replies.find(type);
            res.set_content(it == replies.end() ? "{\"success\":false}" : it->second, "application/json");
        });
        http.server().Get("/files/avatar.png", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("PNGDATA", "image/png");
        });
        http.start();
        user = std::make_unique<User>(dir.wide("config"), http.base());
    }
    void TearDown() override
    {
        Network::RequestRunner::instance().shutdown();
        Network::RequestRunner::instance().restart();
    }

    void reply(const std::string& type, const std::string& body)
    {
        std::lock_guard lock(mutex);
        replies[type] = body;
    }
    std::vector<std::multimap<std::string, std::string>> requestsOfType(const std::string& type)
    {
        std::lock_guard lock(mutex);
        std::vector<std::multimap<std::string, std::string>> found;
        for (const auto& params : requests) {
            const auto it = params.find("type");
            if (it != params.end() && it->second == type)
                found.push_back(params);
        }
        return found;
    }
    void waitForTransfers() { Network::RequestRunner::instance().waitForAll(); }

    TempDir dir;
    // What the server's handlers touch is declared before the server, so the server (and its
    // threads) are gone before these are destroyed.
    std::mutex mutex;
    std::map<std::string, std::string> replies;
    std::vector<std::multimap<std::string, std::string>> requests;
    LocalHttpServer http;
    ScopedRecordingSink sink;
    std::unique_ptr<User> user;
};
