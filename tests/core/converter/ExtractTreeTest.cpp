// Extract and split from page trees of several levels, where a page takes its media box, rotation and
// fonts from the nodes above it, and from trees whose page counts do not add up: the pages,
// what they look like and their bookmarks come out as a reader of the whole tree sees them.

#include "OutlineProbe.h"

#include "core/common/Utils.h"
#include "core/converter/PageToolRunner.h"
#include "core/converter/PdfOperations.h"
#include "support/BookmarkedPdf.h"
#include "support/PdfFactory.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

using namespace Converter;
using BookmarkedPdf::Mark;
using BookmarkedPdf::Target;
namespace fs = std::filesystem;

namespace {

constexpr int kPages = 12;

std::string ref(int object)
{
    return std::to_string(object) + " 0 R";
}

std::string pageRefs(int first, int last)
{
    std::string refs;
    for (int page = first; page <= last; ++page)
        refs += ref(4 + 2 * (page - 1)) + " ";
    return refs;
}

struct Counts {
    int root = kPages;
    int nodeA = 4; // pages 1-4, as many as its kids
    int nodeD = 3; // pages 5-7, under node B
};

// The root holds the fonts and a letter-size box; node A (pages 1-4) a box of its own, node B
// another one over nodes D (5-7, turned) and E (8-10, page 9 with its own box); node C (11, 12)
// takes everything from the root.
std::vector<std::string> treeObjects(const Counts& counts)
{
    std::vector<std::string> objects = PdfFactory::documentObjects(kPages);
    const int a = static_cast<int>(objects.size()) + 1, b = a + 1, c = a + 2, d = a + 3, e = a + 4;
    const auto parentOf = [&](int page) { return page <= 4 ? a : page <= 7 ? d : page <= 10 ? e : c; };
    for (int page = 1; page <= kPages; ++page) {
        std::string& object = objects[static_cast<std::size_t>(3 + 2 * (page - 1))];
        object.replace(object.find("/Parent 2 0 R"), 13, "/Parent " + ref(parentOf(page)));
        const std::string own = " /MediaBox [0 0 300 200] /Resources << /Font << /F1 3 0 R >> >>";
        object.replace(object.find(own), own.size(), page == 9 ? " /MediaBox [0 0 500 500]" : "");
    }
    objects[1] = "<< /Type /Pages /Kids [" + ref(a) + " " + ref(b) + " " + ref(c) + "] /Count " +
                 std::to_string(counts.root) + " /MediaBox [0 0 612 792] /Resources << /Font << /F1 3 0 R >> >> >>";
    objects.push_back("<< /Type /Pages /Parent 2 0 R /Kids [" + pageRefs(1, 4) + "] /Count " +
                      std::to_string(counts.nodeA) + " /MediaBox [0 0 300 200] >>");
    objects.push_back("<< /Type /Pages /Parent 2 0 R /Kids [" + ref(d) + " " + ref(e) +
                      "] /Count 6 /MediaBox [0 0 400 300] >>");
    objects.push_back("<< /Type /Pages /Parent 2 0 R /Kids [" + pageRefs(11, 12) + "] /Count 2 >>");
    objects.push_back("<< /Type /Pages /Parent " + ref(b) + " /Kids [" + pageRefs(5, 7) + "] /Count " +
                      std::to_string(counts.nodeD) + " /Rotate 90 >>");
    objects.push_back("<< /Type /Pages /Parent " + ref(b) + " /Kids [" + pageRefs(8, 10) + "] /Count 3 >>");
    return objects;
}

std::vector<Mark> outline()
{
    return {
        {"A", 2, Target::Page, {{"A.1", 3, Target::NameTree, {}}}},
        {"B", 5, Target::GoToAction, {{"B.1", 6, Target::CatalogDests, {}}, {"B.2", 9, Target::NameTree, {}}}},
        {"C", 12, Target::Page, {}},
    };
}

bool holdsObjectStreams(const fs::path& pdf)
{
    std::ifstream in(pdf, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return bytes.find("/ObjStm") != std::string::npos;
}

class ExtractTree : public testing::Test {
protected:
    // Extracts range from a tree with these counts (its objects in object streams when packed);
    // the error text when it fails.
    std::string extract(const Counts& counts, const std::wstring& range, const fs::path& out, bool packed = false)
    {
        BookmarkedPdf::write(dir.file("tree.pdf"), treeObjects(counts), outline());
        fs::path input = dir.file("tree.pdf");
        if (packed) {
            input = dir.file("packed.pdf");
            if (!PdfFactory::packObjects(dir.file("tree.pdf"), input))
                return "qpdf could not pack the objects";
        }
        ConvertError error;
        if (extractPages(Utils::fromFsPath(input), range, Utils::fromFsPath(out), nullptr, &error))
            return {};
        return "failed: " + Utils::wideToUtf8(error.detail);
    }

    TempDir dir;
};

} // namespace

TEST_F(ExtractTree, PagesKeepWhatTheyInheritAndTheirBookmarks)
{
    const fs::path out = dir.file("part.pdf");
    ASSERT_EQ(extract({}, L"9,3,6-7,12", out), "");
    EXPECT_EQ(pageShapesOf(out), "9:500x500 3:300x200 6:400x300r90 7:400x300r90 12:612x792");
    EXPECT_EQ(outlineOf(out), "A.1@2, B.1@3, B.2@1, C@5");
    // Named destinations of pages left out go, those of pages taken stay.
    EXPECT_EQ(PdfFactory::pageNumbers(out).size(), 5u);

    // The whole document, and one page twice.
    ASSERT_EQ(extract({}, L"1-12,1", out), "");
    EXPECT_EQ(pageShapesOf(out), "1:300x200 2:300x200 3:300x200 4:300x200 5:400x300r90 6:400x300r90 7:400x300r90 "
                                 "8:400x300 9:500x500 10:400x300 11:612x792 12:612x792 1:300x200");
    EXPECT_EQ(outlineOf(out), "A@2[A.1@3], B@5[B.1@6, B.2@9], C@12");
}

TEST_F(ExtractTree, CountsThatDoNotAddUpGiveThePagesTheTreeHolds)
{
    const fs::path out = dir.file("part.pdf");
    const std::string expected = "2:300x200 6:400x300r90 11:612x792";
    for (const Counts& counts : {Counts{13, 4, 3}, Counts{kPages, 4, 4}, Counts{11, 3, 3}, Counts{kPages, 4, 2}}) {
        SCOPED_TRACE(std::to_string(counts.root) + " " + std::to_string(counts.nodeA) + " " + std::to_string(counts.nodeD));
        ASSERT_EQ(extract(counts, L"2,6,11", out), "");
        EXPECT_EQ(pageShapesOf(out), expected);
        EXPECT_EQ(outlineOf(out), "A@1, B.1@2");
    }
    // A root that claims more pages than there are: the range is read against the real count.
    EXPECT_NE(extract({13, 4, 3}, L"13", dir.file("none.pdf")), "");
    EXPECT_FALSE(fs::exists(dir.file("none.pdf")));
}

TEST_F(ExtractTree, AFileOfObjectStreamsGivesOneOfObjectStreams)
{
    // A few pages are copied out into a new document, packed as the source was; most of the
    // pages are written from the whole document, which keeps its object streams.
    for (const std::wstring& range : {std::wstring(L"6,9"), std::wstring(L"1-11")}) {
        const fs::path out = dir.file("part.pdf");
        ASSERT_EQ(extract({}, range, out, true), "");
        EXPECT_TRUE(holdsObjectStreams(out));
        if (range == L"6,9") {
            EXPECT_EQ(pageShapesOf(out), "6:400x300r90 9:500x500");
            EXPECT_EQ(outlineOf(out), "B.1@1, B.2@2");
        } else {
            EXPECT_EQ(pageNumbersOf(out), PdfFactory::pageRange(1, 11));
            EXPECT_EQ(outlineOf(out), "A@2[A.1@3], B@5[B.1@6, B.2@9]");
        }
    }
}

TEST_F(ExtractTree, PiecesThatShareTheirPagesEachHoldThemAll)
{
    BookmarkedPdf::write(dir.file("tree.pdf"), treeObjects({}), outline());
    const fs::path folder = dir.file("pieces");
    fs::create_directories(folder);
    ChildProcess::Options options;
    options.input = "1-3\n2-4\n4-2\n12-12\n";
    const auto run = PageToolRunner::run(
        {L"split", Utils::fromFsPath(dir.file("tree.pdf")), Utils::fromFsPath(folder), L"--pieces"}, nullptr, options);
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_EQ(pageShapesOf(folder / "1.pdf"), "1:300x200 2:300x200 3:300x200");
    EXPECT_EQ(pageShapesOf(folder / "2.pdf"), "2:300x200 3:300x200 4:300x200");
    EXPECT_EQ(pageShapesOf(folder / "3.pdf"), "4:300x200 3:300x200 2:300x200");
    EXPECT_EQ(outlineOf(folder / "3.pdf"), "A@3[A.1@2]");
    EXPECT_EQ(pageShapesOf(folder / "4.pdf"), "12:612x792");
}
