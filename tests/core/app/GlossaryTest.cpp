#include "core/app/Glossary.h"
#include "core/app/TextTable.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace Glossary;

namespace {
struct LanguageGuard {
    int saved = currentLanguage();
    ~LanguageGuard() { setCurrentLanguage(saved); }
};
} // namespace

TEST(Glossary, TableHoldsTheListedIdsInBothLanguages)
{
    const auto& entries = TextTable::instance().entries();
    // The specified 97, the one that says a file has no bookmarks to split by, the notice of a
    // configuration that cannot be read, and the two of the compression levels (page progress,
    // sizes before and after).
    EXPECT_EQ(entries.size(), 101u);
    for (const auto& [id, texts] : entries) {
        EXPECT_GE(id, 1);
        EXPECT_LE(id, 131);
        ASSERT_EQ(texts.size(), 2u) << id;
        EXPECT_FALSE(texts[0].empty()) << id;
    }
    for (int unused : {17, 32, 33, 53, 64, 80, 81, 82, 83})
        EXPECT_EQ(entries.count(unused), 0u) << unused;
    // Spelling is kept exactly as shown to users.
    EXPECT_EQ(TextTable::instance().rawText(9, ENGLSH), L"Cancle");
    EXPECT_EQ(TextTable::instance().rawText(1, CHINESE), L"TavrinPDF分割合并(Lumo专版)");
    EXPECT_EQ(TextTable::instance().rawText(63, ENGLSH), L"<c #e62c2c>Request Error< / c>");
    EXPECT_EQ(TextTable::instance().rawText(10, ENGLSH), L"File can`t opened");
    EXPECT_EQ(TextTable::instance().rawText(66, CHINESE), L"正在分割%d / %d页");
    EXPECT_EQ(TextTable::instance().rawText(106, ENGLSH),
              L"Do you Want to run Korvex PDF Split And Merge(LumoVersion) on background ?");
    EXPECT_EQ(TextTable::instance().rawText(107, CHINESE), L"此文件没有书签");
    EXPECT_EQ(TextTable::instance().rawText(131, ENGLSH), L"%% \u2192 %% (%%)");
}

TEST(Glossary, ReplacementsFillPlaceholdersInOrder)
{
    LanguageGuard guard;
    setCurrentLanguage(ENGLSH);
    EXPECT_EQ(text(2, L"PDF"), L"Drag PDF File Onto Here Or Click Here To Add File");
    EXPECT_EQ(text(28, L"Split"), L"Split");
    EXPECT_EQ(text(TextRequest(35, L"PDF")), L"PDF File %%"); // leftover placeholder stays
    EXPECT_EQ(text(TextRequest(66, {L"30", L"100"})), L"Splitting Page 30 / 100");
    EXPECT_EQ(text(TextRequest(2, L"")), L"Drag %% File Onto Here Or Click Here To Add File");
    EXPECT_TRUE(TextRequest(2, L"").replacements().empty());
    // A "%" inside a replacement is found again by the next one.
    EXPECT_EQ(text(TextRequest(35, {L"5%", L"X"})), L"5XFile %%");

    setCurrentLanguage(CHINESE);
    EXPECT_EQ(text(28, L"Split"), L"继续Split");
    EXPECT_EQ(text(TextRequest(66, {L"30", L"100"})), L"正在分割30 / 100页");
    EXPECT_EQ(text(11), L"_合并.");
}

TEST(Glossary, TooManyReplacementsFail)
{
    LanguageGuard guard;
    setCurrentLanguage(ENGLSH);
    try {
        text(TextRequest(24, {L"a", L"b"}));
        FAIL() << "expected an exception";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Not Enough Replaced Symbol");
    }
    EXPECT_THROW(text(TextRequest(3, L"x")), std::runtime_error);
    EXPECT_EQ(text(17), L""); // ids the table does not list
}

TEST(Glossary, TheUnreadableConfigurationNoticeNamesTheFileInTheCurrentLanguage)
{
    LanguageGuard guard;
    const std::wstring file = L"/home/ann/Documents/PDF_Splitting_And_merging_Lumo/korvex_split_and_merge_config.json";
    setCurrentLanguage(ENGLSH);
    EXPECT_EQ(text(108, file), L"The configuration file cannot be read: this run uses the defaults and does not "
                               L"save changes over it.\n" + file);
    setCurrentLanguage(CHINESE);
    EXPECT_EQ(text(108, file), L"无法读取配置文件，本次使用默认设置运行，更改不会保存。\n" + file);
}
