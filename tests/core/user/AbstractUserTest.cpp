#include "core/user/AbstractUser.h"
#include "core/app/Glossary.h"
#include "core/common/Utils.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

namespace {

class TestUser : public AbstractUser {
public:
    explicit TestUser(const std::wstring& folder) : AbstractUser(folder) {}
    TestUser() : AbstractUser() {}
    void SendRequest(int, std::shared_ptr<Network::AbstractAction>) override {}
};

class ConfigStore : public testing::Test {
protected:
    TempDir dir;
    std::wstring folder() const { return dir.wide("PDF_Splitting_And_merging_Lumo"); }
    std::filesystem::path file() const
    {
        return dir.file("PDF_Splitting_And_merging_Lumo/korvex_split_and_merge_config.json");
    }
    std::string bytes() const { return readFile(file()); }
    int savedLanguage = Glossary::currentLanguage();
    ~ConfigStore() override { Glossary::setCurrentLanguage(savedLanguage); }
};

} // namespace

TEST_F(ConfigStore, FirstStartCreatesTheFolderButNoFileUntilTheFirstChange)
{
    TestUser user(folder());
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("PDF_Splitting_And_merging_Lumo")));
    EXPECT_FALSE(std::filesystem::exists(file()));
    EXPECT_EQ(user.getLanguage(), Glossary::DEFAULT);
    EXPECT_EQ(Glossary::currentLanguage(), Glossary::CHINESE);

    user.setLanguage(Glossary::CHINESE);
    EXPECT_EQ(bytes(), "{\"m_language\":\"Glossary::Language::CHINESE\"}\n");
    user.setLanguage(Glossary::ENGLSH);
    EXPECT_EQ(Glossary::currentLanguage(), Glossary::ENGLSH);
    user.setUserId("42");
    EXPECT_EQ(bytes(), "{\"m_language\":\"Glossary::Language::ENGLSH\",\"m_userid\":\"42\"}\n");
}

TEST_F(ConfigStore, ValidFileIsLoadedAndRewrittenCompactInKeyOrder)
{
    std::filesystem::create_directories(file().parent_path());
    writeFile(file(), "{ \"m_username\" : \"Ann\",\n  \"m_bindphone\": true, \"m_language\": \"Glossary::Language::ENGLSH\" }");
    TestUser user(folder());
    EXPECT_EQ(bytes(), "{\"m_bindphone\":true,\"m_language\":\"Glossary::Language::ENGLSH\",\"m_username\":\"Ann\"}\n");
    EXPECT_EQ(user.getUserName(), "Ann");
    EXPECT_TRUE(user.getBindPhone());
    EXPECT_EQ(user.getValue("m_bindphone"), "true");
    EXPECT_EQ(Glossary::currentLanguage(), Glossary::ENGLSH);
    EXPECT_FALSE(user.isLoggedIn());
    user.setOpenKey("k");
    EXPECT_TRUE(user.isLoggedIn());
}

TEST_F(ConfigStore, UnreadableFileIsKeptAsBackupAndTheProgramStartsEmpty)
{
    for (const std::string bad : {"\"just a string\"", "// comment\n{\"m_userid\":\"1\"}",
                                  "{\"m_userid\":\"1\"", "{} trailing"}) {
        TempDir local;
        const auto path = local.file("korvex_split_and_merge_config.json");
        writeFile(path, bad);
        TestUser user(local.wide());
        EXPECT_EQ(user.getUserId(), "") << bad;
        EXPECT_FALSE(std::filesystem::exists(path)) << bad;
        int backups = 0;
        for (const auto& entry : std::filesystem::directory_iterator(local.path())) {
            if (entry.path().filename().string().find(".corrupt-") != std::string::npos) {
                ++backups;
                EXPECT_EQ(readFile(entry.path()), bad);
            }
        }
        EXPECT_EQ(backups, 1) << bad;
        user.setHotkeyValue("x");
        EXPECT_EQ(readFile(path), "{\"m_hotkeyValue\":\"x\"}\n");
    }
}

TEST_F(ConfigStore, SavePathAndHotKeyDefaultsAreStoredOnFirstRead)
{
    TestUser user(folder());
    const std::string expected = Utils::wideToUtf8(folder()) + "/file";
    EXPECT_EQ(user.getSavePath(), expected);
    EXPECT_TRUE(std::filesystem::is_directory(expected));
    std::filesystem::remove(expected);
    EXPECT_EQ(user.getSavePath(), expected); // recreated when it went missing
    EXPECT_TRUE(std::filesystem::is_directory(expected));

    EXPECT_TRUE(user.getHotkeyStatus());
    EXPECT_EQ(user.getHotkeyValue(), "c");
    EXPECT_EQ(bytes(), "{\"m_hotkeyStatus\":\"true\",\"m_hotkeyValue\":\"c\",\"m_savepath\":\"" +
                           expected + "\"}\n");
    user.setHotkeyStatus(false);
    EXPECT_FALSE(user.getHotkeyStatus());
}

TEST_F(ConfigStore, HistoryKeepsOrderAndRemovesOnlyTheFirstMatch)
{
    TestUser user(folder());
    EXPECT_TRUE(user.getHistory().empty());
    user.addHistory("/o/a.pdf");
    user.addHistory("/o/b.pdf");
    user.addHistory("/o/a.pdf");
    user.removeHistory("/o/a.pdf");
    EXPECT_EQ(user.getHistory(), (std::vector<std::string>{"/o/b.pdf", "/o/a.pdf"}));
    EXPECT_EQ(bytes(), "{\"m_history\":[\"/o/b.pdf\",\"/o/a.pdf\"]}\n");

    // Removing a path that is not there writes nothing.
    std::filesystem::remove(file());
    user.removeHistory("/o/zzz.pdf");
    EXPECT_FALSE(std::filesystem::exists(file()));

    TestUser reloaded(folder());
    EXPECT_TRUE(reloaded.getHistory().empty());
    user.setValue("m_history", "not a list");
    EXPECT_TRUE(user.getHistory().empty());
    user.removeHistory("/o/b.pdf");
    EXPECT_EQ(user.getValue("m_history"), "not a list");
}

TEST_F(ConfigStore, ClearConfigurationKeepsOnlyTheLocalSettings)
{
    TestUser user(folder());
    user.setLanguage(Glossary::ENGLSH);
    user.setUserId("7");
    user.setOpenKey("secret");
    user.setUserName("Ann");
    user.setNickPhotoPath("/p.png");
    user.setBindPhone(true);
    user.setValue("m_other", "x");
    user.setSavePath("/tmp");
    user.clearConfiguration();
    EXPECT_EQ(bytes(), "{\"m_bindphone\":true,\"m_hotkeyStatus\":\"true\",\"m_hotkeyValue\":\"c\","
                       "\"m_language\":\"Glossary::Language::ENGLSH\",\"m_savepath\":\"/tmp\"}\n");
    EXPECT_TRUE(user.getBindPhone());
    EXPECT_FALSE(user.isLoggedIn());
    EXPECT_EQ(Glossary::currentLanguage(), Glossary::ENGLSH);

    user.addHistory("/o/a.pdf");
    user.clearConfiguration();
    EXPECT_EQ(user.getHistory(), std::vector<std::string>{"/o/a.pdf"});

    // A reset alone touches memory only; the next change writes the whole document.
    user.setOpenKey("k2");
    const std::string before = bytes();
    user.resetAccount();
    EXPECT_EQ(bytes(), before);
    EXPECT_FALSE(user.isLoggedIn());
}

TEST_F(ConfigStore, UnknownLanguageTextReadsAsDefaultAndShowsChinese)
{
    std::filesystem::create_directories(file().parent_path());
    writeFile(file(), "{\"m_language\":\"Klingon\"}");
    Glossary::setCurrentLanguage(Glossary::ENGLSH);
    TestUser user(folder());
    EXPECT_EQ(user.getLanguage(), Glossary::DEFAULT);
    EXPECT_EQ(Glossary::currentLanguage(), Glossary::CHINESE);
    user.setLanguage(Glossary::DEFAULT);
    EXPECT_EQ(user.getValue("m_language"), "Glossary::Language::DEFAULT");
    EXPECT_EQ(Glossary::currentLanguage(), Glossary::CHINESE); // never an index without texts
}

TEST_F(ConfigStore, DefaultFolderLiesInTheDocumentsFolder)
{
    const char* oldHome = std::getenv("HOME");
    const std::string savedHome = oldHome ? oldHome : "";
    const std::filesystem::path home = dir.file("home");
    std::filesystem::create_directories(home / ".config");
    ::setenv("HOME", home.c_str(), 1);
    ::unsetenv("XDG_CONFIG_HOME");
    {
        TestUser user;
        EXPECT_EQ(user.getConfigFolder(), Utils::utf8ToWide((home / "Documents/PDF_Splitting_And_merging_Lumo").string()));
    }
    writeFile(home / ".config/user-dirs.dirs", "# comment\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    {
        TestUser user;
        EXPECT_EQ(user.getConfigFolder(), Utils::utf8ToWide((home / "Dokumente/PDF_Splitting_And_merging_Lumo").string()));
        EXPECT_TRUE(std::filesystem::is_directory(home / "Dokumente/PDF_Splitting_And_merging_Lumo"));
    }
    ::setenv("HOME", savedHome.c_str(), 1);
}

TEST_F(ConfigStore, ConcurrentReadersAndWritersSeeWholeValues)
{
    TestUser user(folder());
    std::thread writer([&] {
        for (int i = 0; i < 200; ++i) {
            user.setUserName(i % 2 ? "aaaaaaaa" : "bbbbbbbb");
            user.setPhone(i % 2 ? "111" : "222");
        }
    });
    for (int i = 0; i < 200; ++i) {
        const std::string name = user.getUserName();
        EXPECT_TRUE(name.empty() || name == "aaaaaaaa" || name == "bbbbbbbb");
        const std::string phone = user.getPhone();
        EXPECT_TRUE(phone.empty() || phone == "111" || phone == "222");
    }
    writer.join();
    TestUser reloaded(folder());
    EXPECT_EQ(reloaded.getUserName(), user.getUserName());
}
