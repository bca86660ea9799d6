#include "core/common/Utils.h"
#include "core/user/RequestId.h"
#include "core/user/User.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {
std::string query(const Network::URL& url)
{
    const std::size_t q = url.getUrl().find('?');
    return q == std::string::npos ? std::string() : url.getUrl().substr(q + 1);
}
} // namespace

TEST(UserRequests, QueriesCarryTheirFieldsInKeyOrder)
{
    TempDir dir;
    User user(dir.wide(), "http://127.0.0.1:9");
    EXPECT_EQ(user.buildRequestUrl(RequestId::GetConfig).getUrl(),
              "http://127.0.0.1:9/index.php?class=System&soft_type=12&token=QX7TN2LW4RB8MZ5D&type=GetConfig");
    EXPECT_EQ(query(user.buildRequestUrl(RequestId::GetCode)),
              "class=WeChat&soft_type=12&token=QX7TN2LW4RB8MZ5D&type=GetCode");
    EXPECT_EQ(user.buildRequestUrl(3).getUrl(), "http://127.0.0.1:9/index.php");

    // Before any QR reply the guid is sent empty.
    EXPECT_NE(query(user.buildRequestUrl(RequestId::Polling)).find("guid=&"), std::string::npos);

    user.setErrorReason("createDeepDirectory||/a b||src||129");
    const std::string error = query(user.buildRequestUrl(RequestId::SetErrorMsg));
    EXPECT_NE(error.find("uid=0"), std::string::npos);
    EXPECT_NE(error.find("reason=createDeepDirectory%7C%7C%2Fa%20b%7C%7Csrc%7C%7C129"), std::string::npos);
    user.setUserId("77");
    EXPECT_NE(query(user.buildRequestUrl(RequestId::SetErrorMsg)).find("uid=77"), std::string::npos);

    user.setFeedbackFields("qq", "a b", "x&y=z 合");
    const std::string feedback = query(user.buildRequestUrl(RequestId::Feedback));
    EXPECT_NE(feedback.find("content=x%26y%3Dz%20%E5%90%88"), std::string::npos);
    EXPECT_NE(feedback.find("value=a%20b"), std::string::npos);
    EXPECT_NE(feedback.find("user_id=77"), std::string::npos);

    user.setConversionType(9);
    EXPECT_NE(query(user.buildRequestUrl(RequestId::ConvertStatistics)).find("convert_type=9"), std::string::npos);
    EXPECT_EQ(query(user.buildRequestUrl(RequestId::Upgrade)), query(user.buildRequestUrl(RequestId::UpgradeSilent)));
    user.setPhone("13800000000");
    user.setVerifyCode("1234");
    EXPECT_NE(query(user.buildRequestUrl(RequestId::CheckSmsCodeBind)).find("code=1234&phone=13800000000&soft_type"),
              std::string::npos);

    EXPECT_EQ(user.adClickUrl(""), "");
    EXPECT_EQ(user.adClickUrl("k1"), "http://127.0.0.1:9/index.php?class=Advertisement&img_key=k1&soft_type=12"
                                     "&token=QX7TN2LW4RB8MZ5D&type=GotoAds");
}

TEST(UserRequests, OnlyLoopbackMayUsePlainHttp)
{
    EXPECT_EQ(ServiceAddress::parse("http://api.example.com/v2/").origin(), "https://api.example.com");
    EXPECT_EQ(ServiceAddress::parse("http://api.example.com/v2/").prefix(), "/v2");
    EXPECT_EQ(ServiceAddress::parse("http://localhost:8080").origin(), "http://localhost:8080");
    EXPECT_EQ(ServiceAddress::parse("http://[::1]:80").origin(), "http://[::1]:80");
    EXPECT_EQ(ServiceAddress::parse("http://127.0.0.2:9/").origin(), "http://127.0.0.2:9");
    // Names that only look like loopback are other hosts.
    EXPECT_EQ(ServiceAddress::parse("http://127.0.0.1.example.com/").origin(), "https://127.0.0.1.example.com");
    EXPECT_EQ(ServiceAddress::parse("http://127.0.0.1@example.com/").origin(), "https://127.0.0.1@example.com");
    EXPECT_EQ(ServiceAddress::parse("").origin(), "https://service.korvex.invalid");
    EXPECT_EQ(ServiceAddress::parse("ftp://x").origin(), "https://service.korvex.invalid");
    TempDir dir;
    User user(dir.wide(), "http://api.example.com");
    EXPECT_EQ(user.buildRequestUrl(RequestId::GetConfig).getUrl().rfind("https://api.example.com/index.php?", 0), 0u);
}

TEST(UserRequests, ReplyFilesGoWhereTheirKindBelongs)
{
    TempDir dir;
    User user(dir.wide("cfg"), "");
    const std::wstring first = user.saveReplyFile(User::ReplyFileKind::QrImage, "q0", "http://x/qr");
    const std::wstring second = user.saveReplyFile(User::ReplyFileKind::QrImage, "q1", "http://x/qr");
    EXPECT_EQ(Utils::getFileTitle(first), L"korvex_qrpaycode_0");
    EXPECT_EQ(Utils::getFileTitle(second), L"korvex_qrpaycode_1");
    EXPECT_EQ(readFile(Utils::toFsPath(second)), "q1");
    EXPECT_EQ(std::filesystem::status(Utils::toFsPath(first).parent_path()).permissions() &
                  std::filesystem::perms::all,
              std::filesystem::perms::owner_all); // private to this user

    EXPECT_EQ(user.saveReplyFile(User::ReplyFileKind::Avatar, "img", "http://x/p.png"),
              dir.wide("cfg") + L"/nickphoto.png");

    user.advertisements().add({"a", "http://x/ads/one.png?v=2", L""});
    user.advertisements().add({"b", "http://x/ads/two.png", L""});
    const std::wstring ad = user.saveReplyFile(User::ReplyFileKind::AdvertisementImage, "ad", "http://x/ads/one.png?v=2");
    EXPECT_EQ(ad, dir.wide("cfg") + L"/ads/one.png");
    // A service-chosen name never replaces the configuration file.
    const std::wstring sneaky = user.saveReplyFile(User::ReplyFileKind::AdvertisementImage, "img",
                                                   "http://x/korvex_split_and_merge_config.json");
    EXPECT_EQ(sneaky, dir.wide("cfg") + L"/ads/korvex_split_and_merge_config.json");
    EXPECT_EQ(user.advertisements().all()[0].localPath, ad);
    EXPECT_TRUE(user.saveReplyFile(User::ReplyFileKind::AdvertisementImage, "x", "http://x/ads/..").empty());

    EXPECT_EQ(user.advertisements().next("")->imgKey, "a");
    EXPECT_EQ(user.advertisements().next("a")->imgKey, "b");
    EXPECT_EQ(user.advertisements().next("b")->imgKey, "a");
    EXPECT_FALSE(user.advertisements().next("zzz"));
    user.advertisements().clear();
    EXPECT_FALSE(user.advertisements().next(""));
}
