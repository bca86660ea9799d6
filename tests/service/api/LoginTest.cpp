// The three ways to sign in (QR scan, SMS code, e-mail and password), and what a signed-in
// client asks afterwards: login status, user information, avatar.

#include "ApiClient.h"
#include "PngInfo.h"

#include <gtest/gtest.h>

#include <regex>

namespace {

bool isHexKey(const std::string& text)
{
    return std::regex_match(text, std::regex("[0-9a-f]{32}"));
}

std::string pathOf(const ServiceProcess& service, const std::string& link)
{
    const std::string base = service.baseUrl();
    return link.compare(0, base.size(), base) == 0 ? link.substr(base.size()) : link;
}

class ServiceLogin : public testing::Test {
protected:
    ServiceProcess service;
    ApiClient api{service};

    HttpReply poll(const std::string& guid)
    {
        return api.call("WeChat", "Polling",
                        {{"guid", guid}, {"mac_id", "02:42:ac:11:00:02"}, {"packagename", "korvex"}, {"version", "1.0.0.0"}});
    }
    std::string newQr()
    {
        return api.call("WeChat", "GetCode").json["guid"].asString();
    }
    std::string smsCode(const std::string& phone)
    {
        EXPECT_TRUE(api.call("Sms", "getMsm", {{"phone", phone}}).json["result"]["status"].asBool());
        return api.get("/control/sms?phone=" + phone).json["code"].asString();
    }
    Json::Value checkCode(const std::string& phone, const std::string& code, const std::string& userId = {})
    {
        ApiClient::Fields fields = {{"phone", phone}, {"code", code}};
        if (userId.empty()) {
            fields.insert({{"mac_id", "m"}, {"packagename", "korvex"}, {"version", "1.0.0.0"}});
        } else {
            fields["user_id"] = userId;
        }
        return api.call("Sms", "checkCode", fields).json;
    }
    std::string loginStatus(const std::string& userId)
    {
        const Json::Value reply = api.call("WeChat", "GetLoginStatus", {{"user_id", userId}}).json;
        return reply["success"].asBool() ? reply["open_key"].asString() : "signed out";
    }
};

} // namespace

TEST_F(ServiceLogin, QrCodeIsDownloadedPolledScannedAndSignsIn)
{
    const Json::Value code = api.call("WeChat", "GetCode").json;
    ASSERT_TRUE(code["success"].asBool());
    const std::string guid = code["guid"].asString();
    ASSERT_TRUE(isHexKey(guid));
    EXPECT_EQ(code["result"].asString(), service.baseUrl() + "/download/qr/" + guid + ".png");

    const HttpReply image = api.get(pathOf(service, code["result"].asString()));
    EXPECT_EQ(image.contentType, "image/png");
    const PngInfo png = PngInfo::read(image.body);
    EXPECT_TRUE(png.valid);
    EXPECT_EQ(png.width, 164);
    EXPECT_EQ(png.height, 164);

    EXPECT_EQ(poll(guid).json["result"]["status"].asString(), "wait");
    EXPECT_FALSE(poll("").json["success"].asBool()); // polling before any GetCode
    EXPECT_FALSE(poll("0123456789abcdef0123456789abcdef").json["success"].asBool());

    const HttpReply scan = api.post("/control/qr/scan?guid=" + guid + "&username=Li%20Lei&phone=13800138000");
    ASSERT_TRUE(scan.json["success"].asBool()) << scan.body;
    const std::string userId = scan.json["user_id"].asString();
    EXPECT_EQ(api.post("/control/qr/scan?guid=" + guid).status, 409);

    const Json::Value signedIn = poll(guid).json;
    ASSERT_TRUE(signedIn["success"].asBool());
    EXPECT_EQ(signedIn["result"]["status"].asString(), "success");
    EXPECT_EQ(signedIn["result"]["user_id"].asString(), userId);
    EXPECT_EQ(signedIn["result"]["phone"].asString(), "13800138000");
    const std::string openKey = signedIn["result"]["open_key"].asString();
    EXPECT_TRUE(isHexKey(openKey));
    EXPECT_EQ(poll(guid).json["result"]["open_key"].asString(), openKey); // a repeated poll changes nothing
    EXPECT_EQ(loginStatus(userId), openKey);

    // A QR login without a bound phone answers phone null.
    const std::string second = newQr();
    api.post("/control/qr/scan?guid=" + second);
    EXPECT_TRUE(poll(second).json["result"]["phone"].isNull());
}

TEST_F(ServiceLogin, UserInformationAvatarAndTheEndOfALogin)
{
    const std::string guid = newQr();
    const std::string userId = api.post("/control/qr/scan?guid=" + guid + "&username=%E5%B0%8F%E6%98%8E").json["user_id"].asString();
    const std::string openKey = poll(guid).json["result"]["open_key"].asString();

    const Json::Value info = api.call("WeChat", "GetUserInfo", {{"user_id", userId}}).json;
    ASSERT_TRUE(info["success"].asBool());
    EXPECT_EQ(info["result"]["uid"].asString(), userId);
    EXPECT_EQ(info["result"]["username"].asString(), "小明");
    EXPECT_EQ(info["result"]["open_key"].asString(), openKey);
    const HttpReply avatar = api.get(pathOf(service, info["result"]["photo"].asString()));
    const PngInfo png = PngInfo::read(avatar.body);
    EXPECT_TRUE(png.valid);
    EXPECT_EQ(png.width, 96);

    // Signing in again elsewhere replaces the key: the first client sees a different one.
    const std::string elsewhere = newQr();
    api.post("/control/qr/scan?guid=" + elsewhere + "&user_id=" + userId);
    const std::string newKey = poll(elsewhere).json["result"]["open_key"].asString();
    EXPECT_NE(newKey, openKey);
    EXPECT_EQ(loginStatus(userId), newKey);

    EXPECT_EQ(api.post("/control/session/end?user_id=" + userId).json["ended"].asInt(), 1);
    EXPECT_EQ(loginStatus(userId), "signed out");
    EXPECT_FALSE(api.call("WeChat", "GetUserInfo", {{"user_id", userId}}).json["success"].asBool());
    for (const char* bad : {"", "0", "abc", "12abc", "99999"}) {
        EXPECT_EQ(loginStatus(bad), "signed out") << bad;
        EXPECT_FALSE(api.call("WeChat", "GetUserInfo", {{"user_id", bad}}).json["success"].asBool()) << bad;
    }
}

TEST_F(ServiceLogin, SmsCodeSignsInOnceAndRefusesWrongCodes)
{
    const Json::Value badPhone = api.call("Sms", "getMsm", {{"phone", "12345678901"}}).json;
    EXPECT_TRUE(badPhone["success"].asBool());
    EXPECT_FALSE(badPhone["result"]["status"].asBool());
    EXPECT_FALSE(badPhone["result"]["error_msg"].asString().empty());
    EXPECT_EQ(api.get("/control/sms?phone=12345678901").status, 404);

    const std::string phone = "13912345678";
    const std::string code = smsCode(phone);
    ASSERT_TRUE(std::regex_match(code, std::regex("[0-9]{4}")));
    const std::string wrong = code == "0000" ? "1111" : "0000";
    const Json::Value refused = checkCode(phone, wrong);
    EXPECT_TRUE(refused["success"].asBool());
    EXPECT_FALSE(refused["result"]["status"].asBool());
    EXPECT_FALSE(refused["result"]["error_msg"].asString().empty());

    const Json::Value accepted = checkCode(phone, code);
    ASSERT_TRUE(accepted["result"]["status"].asBool()) << accepted;
    const std::string userId = accepted["result"]["user_id"].asString();
    EXPECT_EQ(loginStatus(userId), accepted["result"]["open_key"].asString());
    EXPECT_EQ(api.get("/control/account?phone=" + phone).json["result"]["uid"].asString(), userId);
    EXPECT_FALSE(checkCode(phone, code)["result"]["status"].asBool()); // spent

    // The same phone signs in to the same account next time.
    EXPECT_EQ(checkCode(phone, smsCode(phone))["result"]["user_id"].asString(), userId);

    // Five wrong tries make even the right code useless.
    const std::string third = smsCode(phone);
    const std::string miss = third == "0000" ? "1111" : "0000";
    for (int i = 0; i < 5; ++i)
        checkCode(phone, miss);
    EXPECT_FALSE(checkCode(phone, third)["result"]["status"].asBool());
}

TEST_F(ServiceLogin, SmsCodeBindsAPhoneToAnAccount)
{
    const std::string guid = newQr();
    const std::string userId = api.post("/control/qr/scan?guid=" + guid).json["user_id"].asString();
    const std::string openKey = poll(guid).json["result"]["open_key"].asString();

    const Json::Value bound = checkCode("15000000001", smsCode("15000000001"), userId);
    ASSERT_TRUE(bound["result"]["status"].asBool()) << bound;
    EXPECT_EQ(bound["result"]["user_id"].asString(), userId);
    EXPECT_EQ(bound["result"]["open_key"].asString(), openKey); // the login in force stays
    EXPECT_EQ(api.get("/control/account?user_id=" + userId).json["result"]["phone"].asString(), "15000000001");

    // A phone that belongs to someone else, or an account that does not exist, is refused.
    const std::string other = api.post("/control/qr/scan?guid=" + newQr()).json["user_id"].asString();
    EXPECT_FALSE(checkCode("15000000001", smsCode("15000000001"), other)["result"]["status"].asBool());
    EXPECT_FALSE(checkCode("15000000002", smsCode("15000000002"), "424242")["result"]["status"].asBool());
}

TEST_F(ServiceLogin, EmailSignUpAndSignIn)
{
    const ApiClient::Fields identity = {{"mac_id", "m"}, {"packagename", "korvex"}, {"version", "1.0.0.0"}};
    auto signUp = [&](const std::string& email, const std::string& password) {
        ApiClient::Fields fields = identity;
        fields["user_name"] = email;
        fields["password"] = password;
        return api.call("System", "UserRegister", fields).json;
    };
    auto signIn = [&](const std::string& email, const std::string& password) {
        return api.call("System", "UserLogin", {{"user_name", email}, {"password", password}}).json;
    };

    const Json::Value created = signUp("lilei@example.com", "s3cret-密码");
    ASSERT_TRUE(created["success"].asBool());
    ASSERT_TRUE(created["result"]["status"].asBool()) << created;
    EXPECT_FALSE(created["check_mail"].asBool());
    const std::string userId = created["result"]["user_id"].asString();
    EXPECT_TRUE(isHexKey(created["result"]["open_key"].asString()));

    const Json::Value again = signUp("lilei@example.com", "other");
    EXPECT_FALSE(again["result"]["status"].asBool());
    EXPECT_FALSE(again["result"]["error_msg"].asString().empty());
    for (const char* bad : {"", "lilei", "@example.com", "li lei@example.com", "lilei@example"})
        EXPECT_FALSE(signUp(bad, "pw")["result"]["status"].asBool()) << bad;
    EXPECT_FALSE(signUp("nopassword@example.com", "")["result"]["status"].asBool());

    const Json::Value in = signIn("lilei@example.com", "s3cret-密码");
    ASSERT_TRUE(in["result"]["status"].asBool());
    EXPECT_EQ(in["result"]["user_id"].asString(), userId);
    EXPECT_NE(in["result"]["open_key"].asString(), created["result"]["open_key"].asString());
    EXPECT_EQ(loginStatus(userId), in["result"]["open_key"].asString());

    EXPECT_EQ(signIn("lilei@example.com", "s3cret")["result"]["error_msg"].asString(), "mismatch account and password");
    EXPECT_FALSE(signIn("nobody@example.com", "s3cret-密码")["result"]["status"].asBool());
    EXPECT_FALSE(signIn("", "")["result"]["status"].asBool());

    api.post("/control/config?check_mail=true");
    EXPECT_TRUE(signUp("hanmeimei@example.com", "pw")["check_mail"].asBool());
}
