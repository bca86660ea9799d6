// Everything the service keeps is found again after it restarts on the same database.

#include "ApiClient.h"

#include <gtest/gtest.h>

TEST(ServicePersistence, DataSurvivesARestart)
{
    ServiceProcess service;
    ApiClient api(service);
    const Json::Value mail = api.call("System", "UserRegister", {{"user_name", "zhang@example.com"}, {"password", "pw"}}).json;
    const std::string mailUser = mail["result"]["user_id"].asString();
    api.call("Sms", "getMsm", {{"phone", "13700000000"}});
    const std::string code = api.get("/control/sms?phone=13700000000").json["code"].asString();
    const Json::Value sms = api.call("Sms", "checkCode", {{"phone", "13700000000"}, {"code", code}}).json;
    const std::string smsUser = sms["result"]["user_id"].asString();
    const std::string smsKey = sms["result"]["open_key"].asString();
    api.call("Sms", "getMsm", {{"phone", "13700000000"}});
    const std::string pendingCode = api.get("/control/sms?phone=13700000000").json["code"].asString();

    api.call("System", "Feedback", {{"content", "保存 please"}, {"key", "qq"}, {"value", "12345"}});
    api.call("System", "SetErrorMsg", {{"reason", "a||b||c||1"}, {"uid", smsUser}});
    api.post("/senderrormsg", "soft_type=12&pid=9");
    api.call("System", "OpenStatistics", {{"user_id", smsUser}});
    api.post("/control/update?version=3.0.0.0", "updater bytes", "application/octet-stream");
    api.post("/control/config?binding_phone=true&check_mail=true");
    const std::string digest = api.call("System", "Upgrade", {{"version", "1.0.0.0"}}).json["sha256"].asString();
    const Json::Value feedback = api.list("feedback"), errors = api.list("error-reports");
    const Json::Value crashes = api.list("crash-reports"), stats = api.list("statistics");

    service.restart();

    EXPECT_EQ(api.list("feedback"), feedback);
    EXPECT_EQ(api.list("error-reports"), errors);
    EXPECT_EQ(api.list("crash-reports"), crashes);
    EXPECT_EQ(api.list("statistics"), stats);
    EXPECT_EQ(api.call("System", "UserLogin", {{"user_name", "zhang@example.com"}, {"password", "pw"}})
                  .json["result"]["user_id"].asString(),
              mailUser);
    EXPECT_EQ(api.call("WeChat", "GetLoginStatus", {{"user_id", smsUser}}).json["open_key"].asString(), smsKey);
    EXPECT_EQ(api.call("Sms", "checkCode", {{"phone", "13700000000"}, {"code", pendingCode}}).json["result"]["user_id"].asString(),
              smsUser);
    const Json::Value offer = api.call("System", "Upgrade", {{"version", "1.0.0.0"}}).json;
    EXPECT_EQ(offer["sha256"].asString(), digest);
    EXPECT_EQ(api.get(offer["url"].asString().substr(service.baseUrl().size())).body, "updater bytes");
    const Json::Value config = api.call("System", "GetConfig").json;
    EXPECT_TRUE(config["result"]["binding_phone"].asBool());
    EXPECT_EQ(config["result"]["domain"].asString(), service.baseUrl() + "/"); // links follow the new port
}
