// Replies spoiled on purpose through /control/fault: HTTP 500, not JSON, or a broken transfer.

#include "ApiClient.h"

#include <gtest/gtest.h>

namespace {

HttpReply config(ApiClient& api)
{
    return api.call("System", "GetConfig");
}

} // namespace

TEST(ServiceFaults, EachKindSpoilsExactlyTheNextReply)
{
    ServiceProcess service;
    ApiClient api(service);

    ASSERT_TRUE(api.post("/control/fault?kind=error").json["success"].asBool());
    const HttpReply failed = config(api);
    EXPECT_EQ(failed.status, 500);
    ASSERT_TRUE(failed.isJson);
    EXPECT_FALSE(failed.json["success"].asBool());
    EXPECT_TRUE(config(api).json["success"].asBool());

    api.post("/control/fault?kind=malformed");
    const HttpReply malformed = config(api);
    EXPECT_TRUE(malformed.transferred);
    EXPECT_FALSE(malformed.isJson);
    EXPECT_TRUE(config(api).isJson);

    api.post("/control/fault?kind=disconnect");
    EXPECT_FALSE(config(api).transferred);
    EXPECT_TRUE(config(api).transferred);
}

TEST(ServiceFaults, FaultsCanTargetARequestTypeOrPathAndCount)
{
    ServiceProcess service;
    ApiClient api(service);

    EXPECT_EQ(api.post("/control/fault?kind=error&type=Upgrade&count=2").json["pending"].asInt(), 2);
    EXPECT_TRUE(config(api).json["success"].asBool()); // another type passes
    EXPECT_EQ(api.call("System", "Upgrade", {{"version", "1.0.0.0"}}).status, 500);
    EXPECT_EQ(api.call("System", "Upgrade", {{"version", "1.0.0.0"}}).status, 500);
    EXPECT_EQ(api.call("System", "Upgrade", {{"version", "1.0.0.0"}}).status, 200);

    api.post("/control/fault?kind=disconnect&path=/download/");
    const std::string qr = api.call("WeChat", "GetCode").json["result"].asString();
    ASSERT_FALSE(qr.empty());
    EXPECT_FALSE(api.get(qr.substr(service.baseUrl().size())).transferred);
    EXPECT_TRUE(api.get(qr.substr(service.baseUrl().size())).transferred);

    // The error-report address can be spoiled too; the control endpoints never are.
    api.post("/control/fault?kind=malformed&path=/senderrormsg");
    EXPECT_TRUE(api.get("/control/feedback").isJson);
    EXPECT_FALSE(api.post("/senderrormsg", "pid=1").isJson);

    api.post("/control/fault?kind=error&count=5");
    EXPECT_EQ(api.post("/control/fault?kind=none").json["pending"].asInt(), 0);
    EXPECT_TRUE(config(api).json["success"].asBool());
}
