// Requests the service must refuse, each with a JSON error, without going down.

#include "ApiClient.h"
#include "support/TempDir.h"

#include <httplib.h>

#include <gtest/gtest.h>

namespace {

void expectRefusal(const HttpReply& reply, int status, const std::string& code)
{
    EXPECT_EQ(reply.status, status) << reply.body;
    ASSERT_TRUE(reply.isJson) << reply.body;
    EXPECT_FALSE(reply.json["success"].asBool());
    EXPECT_EQ(reply.json["error_code"].asString(), code);
    EXPECT_FALSE(reply.json["error_msg"].asString().empty());
}

std::string config(const std::string& token, const std::string& softType)
{
    return "/index.php?class=System&soft_type=" + softType + "&token=" + token + "&type=GetConfig";
}

} // namespace

TEST(ServiceBadInput, TokenProductCodeAndRequestNameAreChecked)
{
    ServiceProcess service;
    ApiClient api(service);
    expectRefusal(api.get("/index.php?class=System&soft_type=12&type=GetConfig"), 403, "missing_token");
    expectRefusal(api.get(config("QX7TN2LW4RB8MZ5E", "12")), 403, "bad_token");
    expectRefusal(api.get(config("qx7tn2lw4rb8mz5d", "12")), 403, "bad_token");
    expectRefusal(api.get(config("", "12")), 403, "bad_token");
    expectRefusal(api.get(config(ServiceProcess::kApiKey, "13")), 403, "bad_soft_type");
    expectRefusal(api.get("/index.php?class=System&token=QX7TN2LW4RB8MZ5D&type=GetConfig"), 403, "bad_soft_type");
    expectRefusal(api.get("/index.php"), 403, "missing_token");
    expectRefusal(api.call("System", "NoSuchRequest"), 404, "unknown_request");
    expectRefusal(api.call("Sms", "GetConfig"), 404, "unknown_request"); // type under the wrong class
    expectRefusal(api.call("", ""), 404, "unknown_request");

    const HttpReply ok = api.get(config(ServiceProcess::kApiKey, "12"));
    EXPECT_EQ(ok.status, 200);
    EXPECT_TRUE(ok.json["success"].asBool());
}

TEST(ServiceBadInput, OversizedValuesAndQueriesAreRefused)
{
    ServiceProcess service;
    ApiClient api(service);
    expectRefusal(api.call("Sms", "getMsm", {{"phone", std::string(300, '1')}}), 413, "too_large");
    expectRefusal(api.call("System", "Feedback", {{"content", std::string(4097, 'x')}}), 413, "too_large");
    ApiClient::Fields many;
    for (int i = 0; i < 40; ++i)
        many["f" + std::to_string(i)] = "v";
    expectRefusal(api.call("System", "GetConfig", many), 413, "too_large");
    expectRefusal(api.call("System", "GetConfig", {{std::string(100, 'n'), "v"}}), 413, "too_large");
    // Beyond what the HTTP layer reads at all.
    expectRefusal(api.call("System", "Feedback", {{"content", std::string(9000, 'x')}}), 414, "http_414");

    // Long texts up to the limit are fine.
    const HttpReply feedback = api.call("System", "Feedback", {{"content", std::string(4096, 'x')}});
    EXPECT_TRUE(feedback.json["success"].asBool()) << feedback.body;
    EXPECT_EQ(api.list("feedback")[0]["content"].asString().size(), 4096u);
}

TEST(ServiceBadInput, OddBytesPathsAndMethodsGetJsonErrors)
{
    ServiceProcess service;
    ApiClient api(service);
    // Bytes that are not UTF-8 are kept as replacement characters, and the reply stays JSON.
    const HttpReply odd = api.call("System", "Feedback", {{"content", "ok\xFF\xFE\xC3"}, {"key", "q\x80q"}});
    ASSERT_TRUE(odd.isJson);
    EXPECT_TRUE(odd.json["success"].asBool());
    EXPECT_EQ(api.list("feedback")[0]["content"].asString(), "ok\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
    // A NUL byte in a value does not cut the request short.
    EXPECT_TRUE(api.get("/index.php?class=System&soft_type=12&token=QX7TN2LW4RB8MZ5D&type=Feedback&content=a%00b")
                    .json["success"].asBool());

    expectRefusal(api.get("/no/such/page"), 404, "not_found");
    expectRefusal(api.get("/download/qr/unknown.png"), 404, "not_found");
    expectRefusal(api.get("/download/avatar/1.png"), 404, "not_found");
    expectRefusal(api.get("/download/avatar/-1.png"), 404, "not_found");
    expectRefusal(api.get("/download/avatar/99999999999999999999999.png"), 404, "not_found");
    expectRefusal(api.get("/download/ads/../../etc/passwd.png"), 404, "not_found");
    expectRefusal(api.get("/control/nothing"), 404, "not_found");
    expectRefusal(api.post("/index.php", "a=b"), 404, "http_404");
    expectRefusal(api.post("/control/qr/scan", ""), 404, "unknown_qr");
    expectRefusal(api.post("/control/fault?kind=explode"), 400, "bad_kind");
    expectRefusal(api.post("/control/fault?kind=error&count=0"), 400, "bad_count");
    expectRefusal(api.post("/control/fault?kind=error&count=99999999999"), 400, "bad_count");
    expectRefusal(api.post("/control/update?version=1.x"), 400, "bad_version");
    expectRefusal(api.post("/control/config?check_mail=maybe"), 400, "bad_value");

    httplib::Client raw(service.host(), service.port());
    const auto put = raw.Put("/index.php", "x", "text/plain");
    ASSERT_TRUE(put);
    EXPECT_GE(put->status, 400);
    EXPECT_NE(put->body.find("\"success\":false"), std::string::npos);

    EXPECT_TRUE(api.call("System", "GetConfig").json["success"].asBool()); // still serving
}

TEST(ServiceBadInput, ControlEndpointsCanBeSwitchedOff)
{
    TempDir dir;
    ServiceProcess service(dir.file("db.sqlite"), {"--no-control"});
    ApiClient api(service);
    expectRefusal(api.get("/control/feedback"), 404, "not_found");
    expectRefusal(api.post("/control/fault?kind=error"), 404, "http_404");
    EXPECT_TRUE(api.call("System", "GetConfig").json["success"].asBool());
}
