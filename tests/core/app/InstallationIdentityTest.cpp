#include "core/app/InstallationIdentity.h"
#include "core/app/InstallSettings.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <regex>

using namespace InstallationIdentity;

TEST(InstallationIdentity, PackageNameIsPercentEscapedUtf8)
{
    EXPECT_EQ(escapePackageName(L"Korvex Setup"), "Korvex%20Setup");
    EXPECT_EQ(escapePackageName(L"a-b.c_d~e"), "a-b.c_d~e");
    EXPECT_EQ(escapePackageName(L"合并"), "%E5%90%88%E5%B9%B6");
    EXPECT_EQ(escapePackageName(L""), "");
}

TEST(InstallationIdentity, InstallSettingsComeFromTheFileInTheFolder)
{
    TempDir dir;
    EXPECT_TRUE(InstallSettings::readFrom(dir.wide() + L"/").packageName().empty());
    writeFile(dir.file("install.json"), "{\"PackageName\":\"Lumo 合\",\"ServiceBase\":\"https://svc.example\"}");
    const InstallSettings settings = InstallSettings::readFrom(dir.wide() + L"/");
    EXPECT_EQ(settings.packageName(), L"Lumo 合");
    EXPECT_EQ(settings.serviceBase(), "https://svc.example");
    EXPECT_TRUE(settings.helpPage().empty());
    EXPECT_TRUE(settings.aboutPage().empty());
    writeFile(dir.file("install.json"),
              "{\"HelpPage\":\"https://maker.example/chat\",\"AboutPage\":\"https://maker.example/\"}");
    const InstallSettings pages = InstallSettings::readFrom(dir.wide() + L"/");
    EXPECT_EQ(pages.helpPage(), "https://maker.example/chat");
    EXPECT_EQ(pages.aboutPage(), "https://maker.example/");
    EXPECT_TRUE(pages.packageName().empty());
    writeFile(dir.file("install.json"), "{\"HelpPage\":7,\"AboutPage\":[\"x\"]}");
    EXPECT_TRUE(InstallSettings::readFrom(dir.wide() + L"/").helpPage().empty());
    EXPECT_TRUE(InstallSettings::readFrom(dir.wide() + L"/").aboutPage().empty());
    writeFile(dir.file("install.json"), "{broken");
    EXPECT_TRUE(InstallSettings::readFrom(dir.wide() + L"/").packageName().empty());
    // Nested beyond the reader's limit: read as no settings, not an exception at every start.
    writeFile(dir.file("install.json"), "{\"PackageName\":" + std::string(5000, '[') + std::string(5000, ']') + "}");
    EXPECT_TRUE(InstallSettings::readFrom(dir.wide() + L"/").packageName().empty());
}

TEST(InstallationIdentity, VersionsAndAdapterHaveTheirForms)
{
    const FileVersion version = getFileVersion();
    EXPECT_TRUE(std::regex_match(version.text, std::regex(R"(\d+\.\d+\.\d+\.\d+)"))) << version.text;
    EXPECT_EQ(version.text.rfind(std::to_string(version.major) + "." + std::to_string(version.minor) + ".", 0), 0u);
    EXPECT_TRUE(std::regex_match(osVersionText(), std::regex(R"(\d+\.\d+)")));
    const std::string mac = macAddressText();
    EXPECT_TRUE(mac == "empty" || std::regex_match(mac, std::regex(R"(([0-9A-F]{2}-)+[0-9A-F]{2})"))) << mac;
}
