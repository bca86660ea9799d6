// The update check (requests 23 and 24 are the same on the wire) and the updater download,
// whose digest the reply carries.

#include "ApiClient.h"
#include "support/TempDir.h"

#include <openssl/sha.h>

#include <gtest/gtest.h>

namespace {

std::string sha256(const std::string& bytes)
{
    unsigned char digest[SHA256_DIGEST_LENGTH];
    SHA256(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), digest);
    char hex[2 * SHA256_DIGEST_LENGTH + 1];
    for (int i = 0; i < SHA256_DIGEST_LENGTH; ++i)
        std::snprintf(hex + 2 * i, 3, "%02x", digest[i]);
    return hex;
}

Json::Value check(ApiClient& api, const std::string& version)
{
    return api.call("System", "Upgrade", {{"mac_id", "m"}, {"necessary", "true"}, {"version", version}}).json;
}

} // namespace

TEST(ServiceUpdate, OffersANewerVersionWithTheUpdaterAndItsDigest)
{
    ServiceProcess service;
    ApiClient api(service);
    const Json::Value none = check(api, "1.0.0.0");
    EXPECT_FALSE(none["success"].asBool());
    EXPECT_FALSE(none["msg"].asString().empty());

    const std::string updater("#!/bin/sh\necho updating \"$1\"\n\0\xFF binary tail", 38);
    const HttpReply set = api.post("/control/update?version=1.10.0.0&msg=New%20things", updater,
                                   "application/octet-stream");
    ASSERT_TRUE(set.json["success"].asBool()) << set.body;
    EXPECT_EQ(set.json["sha256"].asString(), sha256(updater));

    const Json::Value offer = check(api, "1.9.9.9"); // 10 is above 9: numbers, not text
    ASSERT_TRUE(offer["success"].asBool()) << offer;
    EXPECT_EQ(offer["msg"].asString(), "New things");
    EXPECT_EQ(offer["version"].asString(), "1.10.0.0");
    EXPECT_EQ(offer["sha256"].asString(), sha256(updater));
    const std::string url = offer["url"].asString();
    ASSERT_EQ(url.rfind(service.baseUrl(), 0), 0u);

    const HttpReply download = api.get(url.substr(service.baseUrl().size()));
    EXPECT_EQ(download.status, 200);
    EXPECT_EQ(download.body, updater);
    EXPECT_EQ(sha256(download.body), offer["sha256"].asString());

    for (const char* current : {"1.10.0.0", "1.10", "2.0.0.0"})
        EXPECT_FALSE(check(api, current)["success"].asBool()) << current;
    EXPECT_TRUE(check(api, "1.2")["success"].asBool());
    for (const char* bad : {"", "one", "1..2", "1.2.3.4.5", "-1"})
        EXPECT_FALSE(check(api, bad)["success"].asBool()) << bad;

    // Withdrawn: nothing offered, and the old link is gone.
    api.post("/control/update?version=");
    EXPECT_FALSE(check(api, "1.0.0.0")["success"].asBool());
    EXPECT_EQ(api.get(url.substr(service.baseUrl().size())).status, 404);
}

TEST(ServiceUpdate, UpdaterFileFromTheCommandLine)
{
    TempDir dir;
    writeFile(dir.file("updater"), "#!/bin/sh\nexit 0\n");
    ServiceProcess service(dir.file("db.sqlite"), {"--updater", dir.file("updater").string()});
    ApiClient api(service);
    api.post("/control/update?version=2.0.0.0");
    const Json::Value offer = check(api, "1.0.0.0");
    ASSERT_TRUE(offer["success"].asBool());
    EXPECT_FALSE(offer["msg"].asString().empty()); // a default text
    EXPECT_EQ(offer["sha256"].asString(), sha256("#!/bin/sh\nexit 0\n"));
    EXPECT_EQ(api.get(offer["url"].asString().substr(service.baseUrl().size())).body, "#!/bin/sh\nexit 0\n");
}
