// Bookmarks that follow their pages through split, extract and merge, and split by bookmarks,
// on generated books whose bookmarks reach their pages in every way real files use (explicit
// destinations, the name tree, the catalog's /Dests, GoTo actions, none at all).

#include "OutlineProbe.h"

#include "RecordingCallback.h"
#include "core/common/Utils.h"
#include "core/converter/ConverterFactory.h"
#include "core/converter/InputElement.h"
#include "core/converter/PageToolRunner.h"
#include "core/converter/PdfOperations.h"
#include "support/BookmarkedPdf.h"
#include "support/HostilePdf.h"
#include "support/PdfFactory.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>

using namespace Converter;
using BookmarkedPdf::Mark;
using BookmarkedPdf::Target;
namespace fs = std::filesystem;

namespace {

// 30 pages: two chapters with sections, a third chapter titled only with dots, and a
// bookmark without a destination whose child points at page 28.
std::vector<Mark> bookOutline()
{
    return {
        {"Chapter 1", 1, Target::Page,
         {{"1.1 Start", 2, Target::NameTree, {}}, {"1.2 More", 6, Target::CatalogDests, {}}}},
        {"Chapter 2", 11, Target::GoToAction,
         {{"2.1 第二章", 12, Target::Page, {{"2.1.1 Deep", 14, Target::NameTree, {}}}},
          {"2.2 a/b: c", 18, Target::Page, {}}}},
        {"...", 21, Target::Page, {{"3.1", 25, Target::CatalogDests, {}}}},
        {"No target", 1, Target::None, {{"Orphan child", 28, Target::Page, {}}}},
    };
}

class Bookmarks : public testing::Test {
protected:
    void SetUp() override { BookmarkedPdf::write(dir.file("book.pdf"), 30, bookOutline()); }

    std::shared_ptr<RecordingCallback> split(const fs::path& input, int pageCount, int mode, int size,
                                             std::vector<int> points, int level, const fs::path& folder)
    {
        auto element = std::make_shared<InputElement>(Utils::fromFsPath(input), 1, pageCount);
        element->setPageCount(pageCount);
        element->setSplitMode(mode);
        element->setPagesPerPiece(size);
        element->setSplitPoints(std::move(points));
        element->setBookmarkLevel(level);
        auto callback = std::make_shared<RecordingCallback>();
        createConverter(13)->run(element, Utils::fromFsPath(folder), createParameter(13), callback);
        return callback;
    }

    // Every file of the folder (hidden ones too) with its pages.
    static std::map<std::string, std::vector<int>> contents(const fs::path& folder)
    {
        std::map<std::string, std::vector<int>> result;
        for (const auto& entry : fs::directory_iterator(folder))
            result[entry.path().filename().string()] = pageNumbersOf(entry.path());
        return result;
    }

    static std::vector<int> pages(int first, int last) { return PdfFactory::pageRange(first, last); }

    TempDir dir;
};

} // namespace

TEST_F(Bookmarks, TheGeneratedBookResolvesEveryKindOfDestination)
{
    EXPECT_EQ(outlineOf(dir.file("book.pdf")),
              "Chapter 1@1[1.1 Start@2, 1.2 More@6], Chapter 2@11[2.1 第二章@12[2.1.1 Deep@14], "
              "2.2 a/b: c@18], ...@21[3.1@25], No target@?[Orphan child@28]");
}

TEST_F(Bookmarks, EachPieceOfASplitAtPointsHoldsExactlyTheBookmarksOfItsPages)
{
    const fs::path out = dir.file("out/book");
    auto callback = split(dir.file("book.pdf"), 30, InputElement::kSplitAtPoints, 1, {5, 12, 20}, 1, out);
    ASSERT_TRUE(callback->ok) << (callback->errors.empty() ? "" : Utils::wideToUtf8(callback->errors[0].detail));
    EXPECT_EQ(callback->progress,
              (std::vector<ProgressCall>{{4, 0, 0}, {4, 5, 30}, {4, 12, 30}, {4, 20, 30}, {4, 30, 30}}));
    EXPECT_EQ(contents(out), (std::map<std::string, std::vector<int>>{{"book_1_5.pdf", pages(1, 5)},
                                                                      {"book_6_12.pdf", pages(6, 12)},
                                                                      {"book_13_20.pdf", pages(13, 20)},
                                                                      {"book_21_30.pdf", pages(21, 30)}}));
    // Positions are within the piece; a bookmark whose parent lies in another piece moves up.
    EXPECT_EQ(outlineOf(out / "book_1_5.pdf"), "Chapter 1@1[1.1 Start@2]");
    EXPECT_EQ(outlineOf(out / "book_6_12.pdf"), "1.2 More@1, Chapter 2@6[2.1 第二章@7]");
    EXPECT_EQ(outlineOf(out / "book_13_20.pdf"), "2.1.1 Deep@2, 2.2 a/b: c@6");
    EXPECT_EQ(outlineOf(out / "book_21_30.pdf"), "...@1[3.1@5], Orphan child@8");
}

TEST_F(Bookmarks, EveryNPagesAndExtractKeepTheirBookmarks)
{
    const fs::path out = dir.file("every");
    auto callback = split(dir.file("book.pdf"), 30, InputElement::kSplitEvery, 10, {}, 1, out);
    ASSERT_TRUE(callback->ok);
    EXPECT_EQ(outlineOf(out / "book_1_10.pdf"), "Chapter 1@1[1.1 Start@2, 1.2 More@6]");
    EXPECT_EQ(outlineOf(out / "book_11_20.pdf"), "Chapter 2@1[2.1 第二章@2[2.1.1 Deep@4], 2.2 a/b: c@8]");

    ConvertError error;
    ASSERT_TRUE(extractPages(Utils::fromFsPath(dir.file("book.pdf")), L"6-14",
                             Utils::fromFsPath(dir.file("part.pdf")), nullptr, &error))
        << Utils::wideToUtf8(error.detail);
    EXPECT_EQ(pageNumbersOf(dir.file("part.pdf")), pages(6, 14));
    EXPECT_EQ(outlineOf(dir.file("part.pdf")), "1.2 More@1, Chapter 2@6[2.1 第二章@7[2.1.1 Deep@9]]");
    // Named destinations of the pages left out are gone, and so are those pages: every page
    // object in the file is one of its nine pages.
    EXPECT_EQ(PdfFactory::pageNumbers(dir.file("part.pdf")).size(), 9u);

    // Pages taken backwards and twice: every bookmark still opens a page of the file.
    ASSERT_TRUE(extractPages(Utils::fromFsPath(dir.file("book.pdf")), L"3-1,2",
                             Utils::fromFsPath(dir.file("back.pdf")), nullptr, &error));
    EXPECT_EQ(pageNumbersOf(dir.file("back.pdf")), (std::vector<int>{3, 2, 1, 2}));
    EXPECT_EQ(outlineOf(dir.file("back.pdf")), "Chapter 1@3[1.1 Start@2]");
}

TEST_F(Bookmarks, AMergeHasOneTopBookmarkPerInputWithItsOwnBookmarksBelow)
{
    BookmarkedPdf::write(dir.file("other.pdf"), 10,
                         {{"Intro", 1, Target::Page, {}},
                          {"Body", 4, Target::NameTree, {{"Part", 5, Target::GoToAction, {}}}}});
    ConvertError error;
    const PdfHandleParameter::MergeList list = {{Utils::fromFsPath(dir.file("book.pdf")), L"11-20"},
                                                {Utils::fromFsPath(dir.file("other.pdf")), L"1-10"}};
    ASSERT_TRUE(mergePdfs(list, Utils::fromFsPath(dir.file("merged.pdf")), nullptr, &error))
        << Utils::wideToUtf8(error.detail);
    std::vector<int> expected = pages(11, 20);
    for (int p : pages(1, 10))
        expected.push_back(p);
    EXPECT_EQ(pageNumbersOf(dir.file("merged.pdf")), expected);
    EXPECT_EQ(outlineOf(dir.file("merged.pdf")),
              "book@1[Chapter 2@1[2.1 第二章@2[2.1.1 Deep@4], 2.2 a/b: c@8]], "
              "other@11[Intro@11, Body@14[Part@15]]");

    // The same file twice: two top bookmarks, each over its own copy of the pages.
    const PdfHandleParameter::MergeList twice = {{Utils::fromFsPath(dir.file("other.pdf")), L"4-5"},
                                                 {Utils::fromFsPath(dir.file("other.pdf")), L"1-5"}};
    ASSERT_TRUE(mergePdfs(twice, Utils::fromFsPath(dir.file("twice.pdf")), nullptr, &error));
    EXPECT_EQ(outlineOf(dir.file("twice.pdf")), "other@1[Body@1[Part@2]], other@3[Intro@3, Body@6[Part@7]]");
}

// 60 inputs are enough for the page program to start itself again with huge pages; whatever
// the caller set for the heap before must not change the result.
TEST_F(Bookmarks, AMergeOfManyFilesKeepsEveryPageAndBookmarkWithOrWithoutHugePages)
{
    PdfHandleParameter::MergeList list;
    std::vector<int> expected;
    std::string outline;
    for (int i = 0; i < 60; ++i) {
        const auto at = [i](int page) { return "@" + std::to_string(10 * i + page); };
        outline += (i ? ", book" : "book") + std::to_string(i) + at(1) +
                   (i % 2 ? "[..." + at(1) + "[3.1" + at(5) + "], Orphan child" + at(8) + "]"
                          : "[Chapter 2" + at(1) + "[2.1 第二章" + at(2) + "[2.1.1 Deep" + at(4) + "], 2.2 a/b: c" + at(8) + "]]");
        const fs::path copy = dir.file("book" + std::to_string(i) + ".pdf");
        fs::copy_file(dir.file("book.pdf"), copy);
        list.emplace_back(Utils::fromFsPath(copy), i % 2 ? L"21-30" : L"11-20");
        for (int p : pages(i % 2 ? 21 : 11, i % 2 ? 30 : 20))
            expected.push_back(p);
    }
    const char* before = std::getenv("MALLOC_CONF");
    const std::string kept = before ? before : "";
    for (const char* heap : {"", "thp:never", "narenas:1"}) {
        ::setenv("MALLOC_CONF", heap, 1);
        const fs::path merged = dir.file(std::string("merged-") + std::to_string(std::strlen(heap)) + ".pdf");
        ConvertError error;
        ASSERT_TRUE(mergePdfs(list, Utils::fromFsPath(merged), nullptr, &error)) << Utils::wideToUtf8(error.detail);
        EXPECT_EQ(pageNumbersOf(merged), expected) << heap;
        EXPECT_EQ(outlineOf(merged), outline) << heap;
    }
    if (before)
        ::setenv("MALLOC_CONF", kept.c_str(), 1);
    else
        ::unsetenv("MALLOC_CONF");
}

TEST_F(Bookmarks, SplitByBookmarksWritesOneFilePerBookmarkOfTheLevel)
{
    const fs::path top = dir.file("top");
    auto callback = split(dir.file("book.pdf"), 30, InputElement::kSplitByBookmarks, 1, {}, 1, top);
    ASSERT_TRUE(callback->ok) << (callback->errors.empty() ? "" : Utils::wideToUtf8(callback->errors[0].detail));
    // A title of dots gives the input's title; a bookmark without a destination stands for
    // its first child's page.
    EXPECT_EQ(contents(top), (std::map<std::string, std::vector<int>>{
                                 {"Chapter 1_1_1_10.pdf", pages(1, 10)},
                                 {"Chapter 2_2_11_20.pdf", pages(11, 20)},
                                 {"book_3_21_27.pdf", pages(21, 27)},
                                 {"No target_4_28_30.pdf", pages(28, 30)}}));
    EXPECT_EQ(outlineOf(top / "Chapter 2_2_11_20.pdf"), "Chapter 2@1[2.1 第二章@2[2.1.1 Deep@4], 2.2 a/b: c@8]");
    EXPECT_EQ(callback->progress, (std::vector<ProgressCall>{{4, 0, 0}, {4, 10, 30}, {4, 20, 30}, {4, 27, 30},
                                                              {4, 30, 30}}));

    // Level 2: a section ends where the next section or chapter starts; "/" and ":" become "_".
    const fs::path second = dir.file("second");
    callback = split(dir.file("book.pdf"), 30, InputElement::kSplitByBookmarks, 1, {}, 2, second);
    ASSERT_TRUE(callback->ok);
    EXPECT_EQ(contents(second), (std::map<std::string, std::vector<int>>{
                                    {"1.1 Start_1_2_5.pdf", pages(2, 5)},
                                    {"1.2 More_2_6_10.pdf", pages(6, 10)},
                                    {"2.1 第二章_3_12_17.pdf", pages(12, 17)},
                                    {"2.2 a_b_ c_4_18_20.pdf", pages(18, 20)},
                                    {"3.1_5_25_27.pdf", pages(25, 27)},
                                    {"Orphan child_6_28_30.pdf", pages(28, 30)}}));
    EXPECT_EQ(outlineOf(second / "2.1 第二章_3_12_17.pdf"), "2.1 第二章@1[2.1.1 Deep@3]");
}

TEST_F(Bookmarks, AFileWithoutBookmarksOfTheLevelSaysSoAndLeavesNothing)
{
    PdfFactory::write(dir.file("plain.pdf"), 5);
    auto callback = split(dir.file("plain.pdf"), 5, InputElement::kSplitByBookmarks, 1, {}, 1, dir.file("plain"));
    EXPECT_FALSE(callback->ok);
    ASSERT_EQ(callback->errors.size(), 1u);
    EXPECT_EQ(callback->errors[0].reason, FailureReason::NoBookmarks);
    EXPECT_FALSE(fs::exists(dir.file("plain")));

    callback = split(dir.file("book.pdf"), 30, InputElement::kSplitByBookmarks, 1, {}, 4, dir.file("deep"));
    EXPECT_FALSE(callback->ok);
    ASSERT_EQ(callback->errors.size(), 1u);
    EXPECT_EQ(callback->errors[0].reason, FailureReason::NoBookmarks);
    EXPECT_FALSE(fs::exists(dir.file("deep")));

    callback = split(dir.file("book.pdf"), 30, InputElement::kSplitByBookmarks, 1, {}, 0, dir.file("zero"));
    EXPECT_FALSE(callback->ok);
    EXPECT_EQ(callback->errors[0].reason, FailureReason::InvalidParameters);
}

TEST_F(Bookmarks, AMalformedPdfFailsEveryJobAndLeavesNothingAtTheOutput)
{
    // A PDF header and then garbage: qpdf cannot even find the pages.
    writeFile(dir.file("bad.pdf"), "%PDF-1.4\n1 0 obj << /Type /Catalog /Pages 9 0 R >> endobj\ngarbage\n");
    const std::wstring bad = Utils::fromFsPath(dir.file("bad.pdf"));

    ConvertError error;
    EXPECT_FALSE(extractPages(bad, L"1-2", Utils::fromFsPath(dir.file("x.pdf")), nullptr, &error));
    EXPECT_EQ(error.code, ConvertError::kPdfFailure);
    EXPECT_FALSE(error.detail.empty());
    EXPECT_FALSE(mergePdfs({{Utils::fromFsPath(dir.file("book.pdf")), L"1-2"}, {bad, L"1-2"}},
                           Utils::fromFsPath(dir.file("m.pdf")), nullptr, &error));
    for (int mode : {InputElement::kSplitAtPoints, InputElement::kSplitByBookmarks}) {
        auto callback = split(dir.file("bad.pdf"), 4, mode, 1, {2}, 1, dir.file("pieces"));
        EXPECT_FALSE(callback->ok);
        EXPECT_EQ(callback->errors.size(), 1u);
    }
    // Nothing at any output path, no temporary left behind.
    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"bad.pdf", "book.pdf"}));
}

TEST_F(Bookmarks, PagesKeepTheirLabels)
{
    // Three front pages numbered i, ii, iii, then 1, 2, ...
    std::vector<std::string> objects = PdfFactory::documentObjects(8);
    objects[0] = "<< /Type /Catalog /Pages 2 0 R /PageLabels << /Nums [0 << /S /r >> 3 << /S /D >>] >> >>";
    PdfFactory::writeObjects(dir.file("labelled.pdf"), objects);
    const std::wstring labelled = Utils::fromFsPath(dir.file("labelled.pdf"));
    ASSERT_EQ(pageLabelsOf(dir.file("labelled.pdf")), "r1 r2 r3 D1 D2 D3 D4 D5");

    ConvertError error;
    ASSERT_TRUE(extractPages(labelled, L"2-5", Utils::fromFsPath(dir.file("part.pdf")), nullptr, &error));
    EXPECT_EQ(pageLabelsOf(dir.file("part.pdf")), "r2 r3 D1 D2");

    auto callback = split(dir.file("labelled.pdf"), 8, InputElement::kSplitAtPoints, 1, {2}, 1, dir.file("pieces"));
    ASSERT_TRUE(callback->ok);
    EXPECT_EQ(pageLabelsOf(dir.file("pieces/labelled_3_8.pdf")), "r3 D1 D2 D3 D4 D5");

    // A file without labels keeps its plain page numbers next to one with labels.
    ASSERT_TRUE(mergePdfs({{labelled, L"3-4"}, {Utils::fromFsPath(dir.file("book.pdf")), L"5-6"}},
                          Utils::fromFsPath(dir.file("merged.pdf")), nullptr, &error))
        << Utils::wideToUtf8(error.detail);
    EXPECT_EQ(pageLabelsOf(dir.file("merged.pdf")), "r3 D1 D5 D6");
}

TEST_F(Bookmarks, StartsListTheFirstPageOfEveryBookmarkOfALevel)
{
    const std::wstring book = Utils::fromFsPath(dir.file("book.pdf"));
    // A bookmark without a target starts where its child does.
    EXPECT_EQ(PageToolRunner::bookmarkStarts(book, 1), (std::vector<int>{1, 11, 21, 28}));
    EXPECT_EQ(PageToolRunner::bookmarkStarts(book, 2), (std::vector<int>{2, 6, 12, 18, 25, 28}));
    EXPECT_TRUE(PageToolRunner::bookmarkStarts(book, 7).empty());
    EXPECT_TRUE(PageToolRunner::bookmarkStarts(book, 0).empty());

    PdfFactory::write(dir.file("plain.pdf"), 3);
    EXPECT_TRUE(PageToolRunner::bookmarkStarts(Utils::fromFsPath(dir.file("plain.pdf")), 1).empty());
    HostilePdf::writeOutlineLoop(dir.file("loop.pdf"), HostilePdf::OutlineLoop::NextToItself);
    EXPECT_EQ(PageToolRunner::bookmarkStarts(Utils::fromFsPath(dir.file("loop.pdf")), 2), (std::vector<int>{3}));
}

TEST_F(Bookmarks, ASplitLetsGoOfTheOutlineButNotOfWhatThePagesShareWithIt)
{
    // Pages 4, 6, 8; then 10: a destination on page 2 that a link on page 2 also uses, 11-12: a
    // name tree of a root and a leaf, 13: a GoTo action of a link on page 3 and of a bookmark,
    // 14-16: the outline, whose second bookmark leads on to the font of every page (3).
    std::vector<std::string> objects = PdfFactory::documentObjects(3);
    objects[5].insert(2, " /Annots [<< /Type /Annot /Subtype /Link /Rect [0 0 50 50] /Dest 10 0 R >>]");
    objects[7].insert(2, " /Annots [<< /Type /Annot /Subtype /Link /Rect [0 0 50 50] /A 13 0 R >>]");
    objects.push_back("[6 0 R /Fit]");
    objects.push_back("<< /Kids [12 0 R] >>");
    objects.push_back("<< /Names [(shared) 10 0 R] /Limits [(shared) (shared)] >>");
    objects.push_back("<< /S /GoTo /D (shared) >>");
    objects.push_back("<< /Type /Outlines /First 15 0 R /Last 16 0 R /Count 2 >>");
    objects.push_back("<< /Title (Shared) /Parent 14 0 R /Next 16 0 R /Dest (shared) >>");
    objects.push_back("<< /Title (Action) /Parent 14 0 R /Prev 15 0 R /A 13 0 R /First 3 0 R >>");
    objects[0] = "<< /Type /Catalog /Pages 2 0 R /Outlines 14 0 R /Names << /Dests 11 0 R >> >>";
    PdfFactory::writeObjects(dir.file("shared.pdf"), objects);
    ASSERT_EQ(outlineOf(dir.file("shared.pdf")), "Shared@2, Action@2[@?]");
    ASSERT_EQ(linksOf(dir.file("shared.pdf")), "; @2; (shared)");

    // Single pages are copied out, a piece of two of the three pages is written from the source.
    auto callback = split(dir.file("shared.pdf"), 3, InputElement::kSplitEvery, 1, {}, 1, dir.file("every"));
    ASSERT_TRUE(callback->ok) << (callback->errors.empty() ? "" : Utils::wideToUtf8(callback->errors[0].detail));
    EXPECT_EQ(outlineOf(dir.file("every/shared_2_2.pdf")), "Shared@1, Action@1");
    EXPECT_EQ(linksOf(dir.file("every/shared_2_2.pdf")), "@1");
    EXPECT_EQ(pageShapesOf(dir.file("every/shared_2_2.pdf")), "2:300x200");
    EXPECT_EQ(linksOf(dir.file("every/shared_3_3.pdf")), "(shared)");
    EXPECT_EQ(pageNumbersOf(dir.file("every/shared_1_1.pdf")), (std::vector<int>{1}));

    callback = split(dir.file("shared.pdf"), 3, InputElement::kSplitByBookmarks, 1, {}, 1, dir.file("marks"));
    ASSERT_TRUE(callback->ok) << (callback->errors.empty() ? "" : Utils::wideToUtf8(callback->errors[0].detail));
    for (const char* piece : {"marks/Shared_1_2_3.pdf", "marks/Action_2_2_3.pdf"}) {
        EXPECT_EQ(pageNumbersOf(dir.file(piece)), (std::vector<int>{2, 3})) << piece;
        EXPECT_EQ(outlineOf(dir.file(piece)), "Shared@1, Action@1") << piece;
        EXPECT_EQ(linksOf(dir.file(piece)), "@1; (shared)") << piece;
        EXPECT_EQ(pageShapesOf(dir.file(piece)), "2:300x200 3:300x200") << piece;
    }
}
