#include "core/common/Utils.h"
#include "core/common/AtomicFile.h"
#include "core/common/Diagnostics.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace Utils;

TEST(Utils, FileTitleAndExtensionFollowTheLastSeparatorAndDot)
{
    EXPECT_EQ(getFileTitle(L"/x.y/name"), L"name");
    EXPECT_EQ(getFileTitle(L"report.final.pdf"), L"report.final");
    EXPECT_EQ(getFileTitle(L"/a/b.c.pdf"), L"b.c");
    EXPECT_EQ(getFileTitle(L"/a/noext"), L"noext");
    EXPECT_EQ(getFileExtension(L"/x.y/name"), L"y/name"); // the folder is not considered
    EXPECT_EQ(getFileExtension(L"bare"), L"");
    EXPECT_EQ(getFileExtension(L"/a/b.PDF"), L"PDF");
}

TEST(Utils, FormatFileSizeUsesTheThreeBands)
{
    EXPECT_EQ(formatFileSize(0), L"0.00 B");
    EXPECT_EQ(formatFileSize(512), L"512.00 B");
    EXPECT_EQ(formatFileSize(1023), L"1023.00 B");
    EXPECT_EQ(formatFileSize(1024), L"1.00 KB");
    EXPECT_EQ(formatFileSize(1048576), L"1024.00 KB");
    EXPECT_EQ(formatFileSize(1048577), L"1.0 MB");
    EXPECT_EQ(formatFileSize(3145728), L"3.0 MB");
}

TEST(Utils, TextConversionsRoundTripEvenInvalidBytes)
{
    const std::string chinese = "\xE5\x90\x88\xE5\xB9\xB6 PDF \xF0\x9F\x98\x80";
    EXPECT_EQ(utf8ToWide(chinese), L"合并 PDF \U0001F600");
    EXPECT_EQ(wideToUtf8(utf8ToWide(chinese)), chinese);
    // A file name that is not UTF-8 must still name the same file after a round trip.
    const std::string raw("bad\xFF\xC3(\0x", 8);
    EXPECT_EQ(wideToAnsi(ansiToWide(raw)), raw);
    EXPECT_EQ(ansiToWide(raw).size(), raw.size()); // embedded NUL kept
    // Overlong forms and encoded surrogates are not accepted as characters.
    EXPECT_EQ(wideToUtf8(utf8ToWide("\xC0\xAF")), "\xC0\xAF");
    EXPECT_EQ(utf8ToWide("\xED\xA0\x80").size(), 3u);

    auto buffer = toNarrowBuffer(L"ab\u00e9", CodePage::Utf8);
    ASSERT_TRUE(buffer);
    EXPECT_STREQ(buffer.get(), "ab\xC3\xA9");
    EXPECT_FALSE(toNarrowBuffer(nullptr, CodePage::Ansi));
}

TEST(Utils, CreateDeepDirectoryCreatesEveryLevelAndReportsFailure)
{
    TempDir dir;
    const std::wstring deep = dir.wide("out") + L"/a/b/c";
    EXPECT_TRUE(createDeepDirectory(deep));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("out/a/b/c")));
    EXPECT_TRUE(createDeepDirectory(deep + L"/")); // trailing separator is harmless
    EXPECT_TRUE(createDeepDirectory(deep));        // existing path

    writeFile(dir.file("plain"), "x");
    const std::wstring blocked = dir.wide("plain") + L"/sub";
    EXPECT_FALSE(createDeepDirectory(blocked));
    EXPECT_EQ(Diagnostics::instance().lastReport(),
              "createDeepDirectory||" + wideToUtf8(blocked) + "||..\\..\\include\\common\\Utils||129");
    EXPECT_FALSE(createDeepDirectory(dir.wide("plain"))); // a file is not a folder
}

TEST(Utils, FileSizeIsSixtyFourBitAndMinusOneWhenMissing)
{
    TempDir dir;
    EXPECT_EQ(getFileSize(dir.wide("missing")), -1);
    writeFile(dir.file("small"), "hello");
    EXPECT_EQ(getFileSize(dir.wide("small")), 5);
    // A sparse file past 4 GiB costs no disk space and must not wrap around.
    const std::filesystem::path big = dir.file("big");
    writeFile(big, "");
    std::filesystem::resize_file(big, 5'000'000'000ull);
    EXPECT_EQ(getFileSize(dir.wide("big")), 5'000'000'000ll);
}

TEST(Utils, ModuleDirectoryIsTheTestProgramsFolder)
{
    const std::wstring folder = getModuleDirectory();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), L'/');
    EXPECT_TRUE(std::filesystem::is_directory(toFsPath(folder)));
    EXPECT_EQ(fromFsPath(std::filesystem::canonical("/proc/self/exe").parent_path()) + L"/", folder);
}

TEST(AtomicFile, ReplacesContentAndLeavesNoTemporaryFiles)
{
    TempDir dir;
    const std::wstring target = dir.wide("config.json");
    ASSERT_TRUE(writeFileAtomically(target, "one\n"));
    ASSERT_TRUE(writeFileAtomically(target, "two\n"));
    EXPECT_EQ(readFile(dir.file("config.json")), "two\n");
    EXPECT_EQ(std::filesystem::status(dir.file("config.json")).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
        ++files;
    EXPECT_EQ(files, 1);

    // In a folder that cannot be written the old content stays as it was.
    if (::geteuid() != 0) {
        ::chmod(dir.path().c_str(), 0500);
        EXPECT_FALSE(writeFileAtomically(target, "three\n"));
        ::chmod(dir.path().c_str(), 0700);
        EXPECT_EQ(readFile(dir.file("config.json")), "two\n");
    }
    EXPECT_FALSE(writeFileAtomically(dir.wide("no/such/folder/file"), "x"));
}
