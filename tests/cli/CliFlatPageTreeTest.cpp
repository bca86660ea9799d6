// Extracts from page trees of one flat node of more than a thousand pages, whose /Kids the page
// program reads from the file itself: what the root passes down, keys that only look like
// /Kids, and trees it must leave to qpdf.

#include "CliRun.h"
#include "support/PdfFactory.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kPages = 1100;

class CliFlatPageTree : public testing::Test {
protected:
    // The generated file's objects with the page tree's root (object 2) replaced.
    void writeWithRoot(const std::string& root)
    {
        std::vector<std::string> objects = PdfFactory::documentObjects(kPages);
        objects[1] = root;
        PdfFactory::writeObjects(dir.file("tree.pdf"), objects);
    }
    static std::string kids(int first, int last)
    {
        std::string text;
        for (int page = first; page <= last; ++page)
            text += std::to_string(4 + 2 * (page - 1)) + " 0 R\n";
        return text;
    }
    CliRun extract(const std::string& range)
    {
        fs::remove(dir.file("out.pdf"));
        return runProgram(KORVEX_PAGES_PATH, {"extract", "tree.pdf", range, "out.pdf"}, dir.path());
    }
    // Appends an update to the file: these objects anew, with a table of their own.
    void appendUpdate(const std::vector<std::pair<int, std::string>>& objects)
    {
        std::string bytes = readFile(dir.file("tree.pdf"));
        const std::size_t mark = bytes.rfind("startxref");
        const std::string previous = std::to_string(std::stoll(bytes.substr(mark + 9)));
        std::string table = "xref\n";
        for (const auto& [number, text] : objects) {
            char entry[32];
            std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", bytes.size());
            table += std::to_string(number) + " 1\n" + entry;
            bytes += std::to_string(number) + " 0 obj\n" + text + "\nendobj\n";
        }
        const std::size_t at = bytes.size();
        bytes += table + "trailer\n<< /Size " + std::to_string(4 + 2 * kPages) + " /Root 1 0 R /Prev " + previous +
                 " >>\nstartxref\n" + std::to_string(at) + "\n%%EOF\n";
        writeFile(dir.file("tree.pdf"), bytes);
    }
    std::size_t occurrences(const std::string& text)
    {
        const std::string bytes = readFile(dir.file("out.pdf"));
        std::size_t count = 0;
        for (std::size_t at = bytes.find(text); at != std::string::npos; at = bytes.find(text, at + 1))
            ++count;
        return count;
    }

    TempDir dir;
};

} // namespace

TEST_F(CliFlatPageTree, TheRootsKidsAreFoundPastLookAlikesAndItsInheritedKeysReachThePages)
{
    const std::string all = kids(1, kPages);
    // Strings, a comment, a nested dictionary and a hex string that hold "/Kids" before the
    // real key, which is written over several lines; /Rotate is passed down to every page.
    writeWithRoot("<< /Type /Pages /Rotate 90 /Decoy (a /Kids [ 9 0 R ] \\) (x) ) % /Kids [ 3 0 R ]\n"
                  "/Nested << /Kids [ 3 0 R ] /A [ 1 0 R (]) <5d> ] >> /Hex <2F4B696473>\n/Kids\n[\n" +
                  all + "] /Count " + std::to_string(kPages) + " /Tail [ 1.5 -2 null true ] >>");
    CliRun r = extract("1100,1-2,550");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(PdfFactory::pageNumbers(dir.file("out.pdf")), (std::vector<int>{1100, 1, 2, 550}));
    EXPECT_EQ(occurrences("/Rotate 90"), 4u);

    // The same with the tree written as qpdf writes it.
    writeWithRoot("<< /Type /Pages /Kids [ " + all + "] /Count " + std::to_string(kPages) + " >>");
    r = extract("3-5");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(PdfFactory::pageNumbers(dir.file("out.pdf")), PdfFactory::pageRange(3, 5));
    EXPECT_EQ(occurrences("/Rotate"), 0u);
}

TEST_F(CliFlatPageTree, TreesTheReaderCannotVouchForAreReadWholeAsBefore)
{
    const std::string count = " /Count " + std::to_string(kPages) + " >>";
    // A page listed twice (qpdf makes the second a copy of its own), a kid that is no
    // reference, a /Kids key spelled with an escape, and the root among its own kids.
    struct Case {
        std::string root;
        std::vector<int> pages; // empty: a clear failure
    };
    const std::vector<Case> cases = {
        {"<< /Type /Pages /Kids [ " + kids(1, kPages - 1) + " 4 0 R ]" + count, {1, kPages - 1, 1}},
        {"<< /Type /Pages /Kids [ " + kids(1, kPages - 1) + " null " + kids(kPages, kPages) + "]" + count, {}},
        {"<< /Type /Pages /K#69ds [ " + kids(1, kPages) + "]" + count, {1, kPages - 1, kPages}},
        {"<< /Type /Pages /Kids [ " + kids(1, kPages - 1) + " 2 0 R ]" + count, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.root.substr(c.root.size() - 40));
        writeWithRoot(c.root);
        const CliRun r = extract("1," + std::to_string(kPages - 1) + "," + std::to_string(kPages));
        EXPECT_EQ(r.signal, 0);
        if (c.pages.empty()) {
            EXPECT_NE(r.exitCode, 0) << r.err;
        } else {
            EXPECT_TRUE(r.exitCode == 0 || r.exitCode == 3) << r.exitCode << r.err;
            EXPECT_EQ(PdfFactory::pageNumbers(dir.file("out.pdf")), c.pages);
        }
    }
}

TEST_F(CliFlatPageTree, AnUpdatedFileIsReadAsItsNewestTablesSay)
{
    const std::string count = " /Count " + std::to_string(kPages) + " >>";
    writeWithRoot("<< /Type /Pages /Kids [ " + kids(1, kPages) + "]" + count);
    // An update that leaves the root alone, then one that lists its kids the other way round.
    appendUpdate({{3, "<< /Type /Font /Subtype /Type1 /BaseFont /Courier >>"}});
    CliRun r = extract("2,1100");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(PdfFactory::pageNumbers(dir.file("out.pdf")), (std::vector<int>{2, kPages}));
    std::string reversed;
    for (int page = kPages; page >= 1; --page)
        reversed += kids(page, page);
    appendUpdate({{2, "<< /Type /Pages /Kids [ " + reversed + "]" + count}});
    r = extract("2,1100");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(PdfFactory::pageNumbers(dir.file("out.pdf")), (std::vector<int>{kPages - 1, 1}));
}

TEST_F(CliFlatPageTree, ChosenPagesKeepEverythingTheyReachThroughTheFilesTable)
{
    std::vector<std::string> objects = PdfFactory::documentObjects(kPages);
    const int info = static_cast<int>(objects.size()) + 1, length = info + 1, link = info + 2;
    const std::string last = "BT /F1 24 Tf 40 90 Td (Page 1100) Tj ET";
    objects.push_back("<< /Title (Reached) >>");
    objects.push_back(std::to_string(last.size()));
    // Page 2 links to page 900, which is not taken; page 1100's stream has its length elsewhere.
    objects.push_back("<< /Type /Annot /Subtype /Link /Rect [0 0 10 10] /Dest [ " + kids(900, 900) +
                      " /Fit ] /KorvexMark (linked) >>");
    objects[3 + 2].insert(2, " /Annots [ " + std::to_string(link) + " 0 R ]");
    objects[4 + 2 * (kPages - 1)] = "<< /Length " + std::to_string(length) + " 0 R >>\nstream\n" + last + "\nendstream";
    PdfFactory::writeObjects(dir.file("tree.pdf"), objects);
    std::string bytes = readFile(dir.file("tree.pdf"));
    bytes.replace(bytes.rfind("/Root 1 0 R"), 11, "/Root 1 0 R /Info " + std::to_string(info) + " 0 R");
    writeFile(dir.file("tree.pdf"), bytes);

    const CliRun r = extract("2,1100");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(PdfFactory::pageNumbers(dir.file("out.pdf")), (std::vector<int>{2, kPages}));
    const CliRun shown = runProgram(PdfFactory::qpdf(), {"--qdf", "--object-streams=disable", "out.pdf", "-"}, dir.path());
    EXPECT_EQ(shown.exitCode, 0) << shown.err;
    EXPECT_NE(shown.out.find("/Title (Reached)"), std::string::npos);
    EXPECT_NE(shown.out.find("/KorvexMark (linked)"), std::string::npos);
    EXPECT_NE(shown.out.find("(Page 1100) Tj"), std::string::npos);
}

TEST_F(CliFlatPageTree, TablesTheReaderCannotVouchForAreLeftToQpdf)
{
    writeWithRoot("<< /Type /Pages /Kids [ " + kids(1, kPages) + "] /Count " + std::to_string(kPages) + " >>");
    const std::string plain = readFile(dir.file("tree.pdf"));
    const std::size_t table = plain.rfind("xref\n0 ");
    const std::size_t trailer = plain.rfind("trailer");
    // An entry for an object two billion on: no table of that many entries is allotted. A
    // section that lists an object twice. Then offsets that point into the objects.
    std::string far = plain;
    far.insert(trailer, "2000000000 1\n0000000000 00001 f \n");
    std::string twice = plain;
    twice.insert(trailer, "3 1\n" + plain.substr(table + 7 + std::to_string(2 * kPages + 4).size() + 1 + 3 * 20, 20));
    std::vector<std::string> files = {far, twice};
    PdfFactory::writeObjects(dir.file("tree.pdf"), PdfFactory::documentObjects(kPages), {true});
    files.push_back(readFile(dir.file("tree.pdf")));
    for (const std::string& file : files) {
        writeFile(dir.file("tree.pdf"), file);
        const CliRun r = extract("2,1100");
        EXPECT_TRUE(r.exitCode == 0 || r.exitCode == 3) << r.exitCode << r.err;
        EXPECT_EQ(PdfFactory::pageNumbers(dir.file("out.pdf")), (std::vector<int>{2, kPages}));
    }
}
