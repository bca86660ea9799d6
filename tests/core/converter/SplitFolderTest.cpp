// Each way of writing a split (qpdf in one run, qpdf piece by piece, korvex-pages) against a
// split folder someone planted: a link to another folder is refused and what it names stays.

#include "core/converter/SplitFolder.h"
#include "core/common/Utils.h"
#include "core/converter/InputElement.h"
#include "core/converter/PageToolSplitter.h"
#include "core/converter/PdfSplitter.h"
#include "support/LinkedSplitFolder.h"
#include "support/PdfFactory.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace Converter;
namespace fs = std::filesystem;

TEST(SplitFolder, EveryWriterRefusesALinkedFolderAndLeavesItsTargetAlone)
{
    TempDir dir;
    PdfFactory::write(dir.file("a.pdf"), 4);
    plantLinkedSplitFolder(dir, "not ours");

    InputElement input(dir.wide("a.pdf"), 1, 4);
    input.setPageCount(4);
    input.setSplitMode(InputElement::kSplitEvery);
    input.setPagesPerPiece(1);
    InputElement unknownCount(dir.wide("a.pdf"), 1, 4); // no page count: qpdf piece by piece
    unknownCount.setSplitMode(InputElement::kSplitEvery);
    unknownCount.setPagesPerPiece(1);
    ASSERT_TRUE(PdfSplitter::canSplitInOneRun(input));
    ASSERT_FALSE(PdfSplitter::canSplitInOneRun(unknownCount));

    const std::wstring folder = dir.wide("out/a");
    struct Writer {
        const char* name;
        std::function<bool(ConvertError*)> run;
    };
    const std::vector<Writer> writers = {
        {"qpdf in one run", [&](ConvertError* e) { return PdfSplitter(input, folder, nullptr, {}).run(e); }},
        {"qpdf per piece", [&](ConvertError* e) { return PdfSplitter(unknownCount, folder, nullptr, {}).run(e); }},
        {"korvex-pages", [&](ConvertError* e) { return PageToolSplitter(input, folder, nullptr, {}).run(e); }},
    };
    for (const Writer& writer : writers) {
        SCOPED_TRACE(writer.name);
        ConvertError error;
        EXPECT_FALSE(writer.run(&error));
        EXPECT_NE(error.detail.find(L"symbolic link"), std::wstring::npos) << Utils::wideToUtf8(error.detail);
        EXPECT_EQ(readFile(dir.file("elsewhere/a_1_1.pdf")), "not ours");
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.file("elsewhere")), fs::directory_iterator()), 1);
        EXPECT_TRUE(fs::is_symlink(dir.file("out/a")));
    }

    // Into a real folder each writes all four pieces and leaves no working folder.
    fs::remove(dir.file("out/a"));
    for (const Writer& writer : writers) {
        SCOPED_TRACE(writer.name);
        ConvertError error;
        EXPECT_TRUE(writer.run(&error)) << Utils::wideToUtf8(error.detail);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.file("out/a")), fs::directory_iterator()), 4);
        EXPECT_EQ(PdfFactory::pageNumbers(dir.file("out/a/a_3_3.pdf")), std::vector<int>{3});
    }
}

TEST(SplitFolder, EarlierPiecesAreRemovedByNameFromOneListingOfTheFolder)
{
    TempDir dir;
    fs::create_directories(dir.file("out/a/a_3_3.pdf"));
    writeFile(dir.file("out/a/a_1_1.pdf"), "earlier");
    writeFile(dir.file("kept.pdf"), "not a piece");
    fs::create_symlink(dir.file("kept.pdf"), dir.file("out/a/a_2_2.pdf"));

    SplitFolder folder;
    std::wstring problem;
    ASSERT_TRUE(folder.open(dir.wide("out/a"), problem)) << Utils::wideToUtf8(problem);
    EXPECT_TRUE(folder.removeEarlier(L"a_1_1.pdf"));
    EXPECT_FALSE(fs::exists(dir.file("out/a/a_1_1.pdf")));
    // A link goes, never what it names; a folder of the name stays and is reported.
    EXPECT_TRUE(folder.removeEarlier(L"a_2_2.pdf"));
    EXPECT_FALSE(fs::is_symlink(dir.file("out/a/a_2_2.pdf")));
    EXPECT_EQ(readFile(dir.file("kept.pdf")), "not a piece");
    EXPECT_FALSE(folder.removeEarlier(L"a_3_3.pdf"));
    EXPECT_TRUE(fs::is_directory(dir.file("out/a/a_3_3.pdf")));
    EXPECT_TRUE(folder.removeEarlier(L"a_4_4.pdf"));
}
