// Configuration, advertisements, feedback, statistics, the terms page and the two kinds of
// error reports, each followed into what the service stored.

#include "ApiClient.h"
#include "PngInfo.h"

#include <httplib.h>

#include <gtest/gtest.h>

namespace {

std::string pathOf(const ServiceProcess& service, const std::string& link)
{
    return link.substr(service.baseUrl().size());
}

const ApiClient::Fields kIdentity = {{"mac_id", "02:42:ac:11:00:02"}, {"user_id", "7"}, {"version", "1.0.0.0"}};

ApiClient::Fields with(ApiClient::Fields fields, const ApiClient::Fields& more)
{
    fields.insert(more.begin(), more.end());
    return fields;
}

} // namespace

TEST(ServiceSystem, AdvertisementsListPicturesAndClicks)
{
    ServiceProcess service;
    ApiClient api(service);
    const Json::Value ads = api.call("Advertisement", "GetAds", {{"img_type", "1"}}).json;
    ASSERT_TRUE(ads["success"].asBool());
    ASSERT_TRUE(ads["result"].isArray());
    ASSERT_EQ(ads["result"].size(), 3u);
    for (const Json::Value& ad : ads["result"]) {
        const std::string key = ad["img_key"].asString();
        const std::string link = ad["img_url"].asString();
        EXPECT_EQ(link.substr(link.rfind('/')), "/" + key + ".png"); // saved under its last segment
        const PngInfo png = PngInfo::read(api.get(pathOf(service, link)).body);
        EXPECT_TRUE(png.valid) << key;
        EXPECT_EQ(png.width, 300);
    }
    EXPECT_EQ(api.call("Advertisement", "GetAds", {{"img_type", "2"}}).json["result"].size(), 0u);

    const std::string key = ads["result"][1]["img_key"].asString();
    const HttpReply page = api.call("Advertisement", "GotoAds", {{"img_key", key}});
    EXPECT_EQ(page.status, 200);
    EXPECT_EQ(page.contentType.rfind("text/html", 0), 0u);
    EXPECT_EQ(api.call("Advertisement", "GotoAds", {{"img_key", "nothing"}}).status, 404);
    const Json::Value stats = api.list("statistics");
    ASSERT_EQ(stats.size(), 1u);
    EXPECT_EQ(stats[0]["kind"].asString(), "ad_click");
    EXPECT_EQ(stats[0]["detail"].asString(), key);
}

TEST(ServiceSystem, ConfigurationAndTheUserCentrePage)
{
    ServiceProcess service;
    ApiClient api(service);
    Json::Value config = api.call("System", "GetConfig").json;
    ASSERT_TRUE(config["success"].asBool());
    const std::string domain = config["result"]["domain"].asString();
    EXPECT_EQ(domain, service.baseUrl() + "/");
    EXPECT_TRUE(config["result"]["binding_phone"].isBool());
    EXPECT_FALSE(config["result"]["binding_phone"].asBool());

    api.post("/control/config?binding_phone=true");
    EXPECT_TRUE(api.call("System", "GetConfig").json["result"]["binding_phone"].asBool());

    const Json::Value user = api.call("System", "UserRegister",
                                      {{"user_name", "wang@example.com"}, {"password", "pw"}}).json;
    const std::string key = user["result"]["open_key"].asString();
    const std::string page = pathOf(service, domain + "api/user_login.html?open_key=" + key);
    EXPECT_NE(api.get(page).body.find("wang@example.com"), std::string::npos);
    EXPECT_NE(api.get("/api/user_login.html?open_key=%3Cscript%3E").body.find("not signed in"), std::string::npos);

    const Json::Value terms = api.call("System", "Goto", {{"key", "clause"}}).json;
    ASSERT_TRUE(terms["success"].asBool());
    EXPECT_EQ(api.get(pathOf(service, terms["result"].asString())).status, 200);
    EXPECT_FALSE(api.call("System", "Goto", {{"key", "privacy"}}).json["success"].asBool());
}

TEST(ServiceSystem, FeedbackAndStatisticsAreStoredAsSent)
{
    ServiceProcess service;
    ApiClient api(service);
    const std::string content = "合并后 页码 错了 & a=b 100% ?";
    const HttpReply sent = api.call("System", "Feedback",
                                    with(kIdentity, {{"content", content}, {"key", "email"},
                                                     {"value", "li_lei@example.com"}, {"win_type", "6.1"}}));
    EXPECT_TRUE(sent.json["success"].asBool());
    EXPECT_FALSE(api.call("System", "Feedback", kIdentity).json["success"].asBool()); // no content

    const Json::Value feedback = api.list("feedback");
    ASSERT_EQ(feedback.size(), 1u);
    EXPECT_EQ(feedback[0]["content"].asString(), content);
    EXPECT_EQ(feedback[0]["key"].asString(), "email");
    EXPECT_EQ(feedback[0]["value"].asString(), "li_lei@example.com");
    EXPECT_EQ(feedback[0]["win_type"].asString(), "6.1");
    EXPECT_EQ(feedback[0]["user_id"].asString(), "7");
    EXPECT_EQ(feedback[0]["mac_id"].asString(), "02:42:ac:11:00:02");
    EXPECT_EQ(feedback[0]["version"].asString(), "1.0.0.0");

    EXPECT_TRUE(api.call("System", "OpenStatistics", kIdentity).json["success"].asBool());
    EXPECT_TRUE(api.call("System", "LoginStatistics", kIdentity).json["success"].asBool());
    EXPECT_TRUE(api.call("System", "ConvertStatistics", with(kIdentity, {{"convert_type", "9"}})).json["success"].asBool());
    const Json::Value stats = api.list("statistics");
    ASSERT_EQ(stats.size(), 3u);
    EXPECT_EQ(stats[0]["kind"].asString(), "open");
    EXPECT_EQ(stats[1]["kind"].asString(), "login");
    EXPECT_EQ(stats[2]["kind"].asString(), "convert");
    EXPECT_EQ(stats[2]["detail"].asString(), "9");
    EXPECT_EQ(stats[2]["mac_id"].asString(), "02:42:ac:11:00:02");
}

TEST(ServiceSystem, ErrorReportsAndCrashReports)
{
    ServiceProcess service;
    ApiClient api(service);
    const std::string reason = "createDeepDirectory||/tmp/x||..\\..\\include\\common\\Utils||129";
    EXPECT_TRUE(api.call("System", "SetErrorMsg", {{"reason", reason}, {"uid", "0"}, {"version", "1.0.0.0"}})
                    .json["success"].asBool());
    EXPECT_FALSE(api.call("System", "SetErrorMsg", {{"uid", "0"}}).json["success"].asBool());
    const Json::Value errors = api.list("error-reports");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0]["reason"].asString(), reason);
    EXPECT_EQ(errors[0]["uid"].asString(), "0");

    // The crash reporter may use a query, a form, a multipart upload or a JSON body.
    EXPECT_TRUE(api.get("/senderrormsg?packagename=korvex&soft_type=12&pid=41").json["success"].asBool());
    EXPECT_TRUE(api.post("/senderrormsg", "soft_type=12&version=1.0.0.0&xcp=0x7ffd").json["success"].asBool());
    EXPECT_TRUE(api.post("/senderrormsg?pid=43", R"({"soft_type":"12","tid":44,"stack":["a","b"]})",
                         "application/json").json["success"].asBool());
    EXPECT_TRUE(api.post("/senderrormsg?pid=45", "raw crash text", "text/plain").json["success"].asBool());
    httplib::Client client(service.host(), service.port());
    const httplib::MultipartFormDataItems parts = {{"soft_type", "12", "", ""},
                                                   {"dump", std::string("core\0dump", 9), "crash.dmp", "application/octet-stream"}};
    const auto upload = client.Post("/senderrormsg", parts);
    ASSERT_TRUE(upload);
    EXPECT_EQ(upload->status, 200);

    EXPECT_EQ(api.post("/senderrormsg", "soft_type=13&pid=1").status, 403);
    EXPECT_EQ(api.post("/senderrormsg", "").status, 400);

    const Json::Value crashes = api.list("crash-reports");
    ASSERT_EQ(crashes.size(), 5u);
    EXPECT_EQ(crashes[0]["fields"]["pid"].asString(), "41");
    EXPECT_EQ(crashes[1]["fields"]["xcp"].asString(), "0x7ffd");
    EXPECT_EQ(crashes[2]["fields"]["tid"].asString(), "44");
    EXPECT_EQ(crashes[2]["fields"]["stack"].asString(), R"(["a","b"])");
    EXPECT_EQ(crashes[3]["attachment"].asString(), "raw crash text");
    EXPECT_EQ(crashes[4]["attachment_name"].asString(), "crash.dmp");
    EXPECT_EQ(crashes[4]["attachment_size"].asInt(), 9);
}
