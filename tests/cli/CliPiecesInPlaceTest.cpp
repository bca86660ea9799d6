// Split pieces large enough to be written from the source document itself: what their pages
// refer to outside the piece (another page, the catalog, the page tree) must not take the rest
// of the document along, and every piece after one written so finds the source whole.

#include "CliRun.h"
#include "support/PdfFactory.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Splits doc.pdf into the pieces (one range a line) and returns, for each piece, the numbers of
// every page object written into it, whether in its page tree or not.
std::vector<std::vector<int>> split(TempDir& dir, const std::string& pieces)
{
    fs::remove_all(dir.file("out"));
    fs::create_directory(dir.file("out"));
    Converter::ChildProcess::Options options;
    options.input = pieces;
    const CliRun run = runProgram(KORVEX_PAGES_PATH, {"split", "doc.pdf", "out", "--pieces"}, dir.path(), options);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::vector<std::vector<int>> written;
    for (int n = 1; fs::exists(dir.file("out/" + std::to_string(n) + ".pdf")); ++n) {
        const fs::path piece = dir.file("out/" + std::to_string(n) + ".pdf");
        EXPECT_EQ(runProgram(PdfFactory::qpdf(), {"--check", piece.string()}, dir.path()).exitCode, 0) << piece;
        written.push_back(PdfFactory::pageNumbers(piece));
    }
    return written;
}

bool within(const std::vector<int>& numbers, int first, int last, const std::vector<int>& also = {})
{
    return std::all_of(numbers.begin(), numbers.end(), [&](int n) {
        return (n >= first && n <= last) || std::find(also.begin(), also.end(), n) != also.end();
    });
}

} // namespace

TEST(CliPiecesInPlace, PiecesTakeAlongOnlyWhatTheirPagesReferTo)
{
    TempDir dir;
    std::vector<std::string> objects = PdfFactory::documentObjects(100);
    const auto page = [&](int n) -> std::string& { return objects[static_cast<std::size_t>(3 + 2 * (n - 1))]; };
    // Page 1 links to page 80 (object 162); page 60 refers to the catalog, page 70 to the tree.
    page(1).insert(2, " /Annots [ << /Type /Annot /Subtype /Link /Rect [0 0 9 9] /Dest [ 162 0 R /Fit ] >> ]");
    page(60).insert(2, " /KorvexCatalog 1 0 R");
    page(70).insert(2, " /Annots [ << /Type /Annot /Subtype /Text /Rect [0 0 9 9] /KorvexTree 2 0 R >> ]");
    PdfFactory::writeObjects(dir.file("doc.pdf"), objects);

    const auto pieces = split(dir, "1-50\n51-80\n81-100\n1-100\n90-99\n");
    ASSERT_EQ(pieces.size(), 5u);
    // The linked page comes along as a page of its own, as qpdf copies it; nothing else does.
    EXPECT_TRUE(within(pieces[0], 1, 50, {80}));
    EXPECT_GE(pieces[0].size(), 50u);
    EXPECT_LE(pieces[0].size(), 51u);
    EXPECT_TRUE(within(pieces[1], 51, 80));
    EXPECT_EQ(pieces[1].size(), 30u);
    EXPECT_EQ(pieces[2], PdfFactory::pageRange(81, 100));
    EXPECT_EQ(pieces[3], PdfFactory::pageRange(1, 100));
    EXPECT_EQ(pieces[4], PdfFactory::pageRange(90, 99));
}

TEST(CliPiecesInPlace, PackedSourcesKeepEveryPageInItsPlaceAndStayPacked)
{
    TempDir dir;
    PdfFactory::write(dir.file("plain.pdf"), 64);
    ASSERT_TRUE(PdfFactory::packObjects(dir.file("plain.pdf"), dir.file("doc.pdf")));
    // Backwards, a page twice, the whole, and one too small to be written from the source.
    const auto pieces = split(dir, "1-32\n40-33\n5,5,6\n1-64\n7\n");
    ASSERT_EQ(pieces.size(), 5u);
    EXPECT_EQ(pieces[0], PdfFactory::pageRange(1, 32));
    std::vector<int> backwards = PdfFactory::pageRange(33, 40);
    std::reverse(backwards.begin(), backwards.end());
    EXPECT_EQ(pieces[1], backwards);
    EXPECT_EQ(pieces[2], (std::vector<int>{5, 5, 6}));
    EXPECT_EQ(pieces[3], PdfFactory::pageRange(1, 64));
    EXPECT_EQ(pieces[4], std::vector<int>{7});
    EXPECT_NE(readFile(dir.file("out/4.pdf")).find("/ObjStm"), std::string::npos);
}
