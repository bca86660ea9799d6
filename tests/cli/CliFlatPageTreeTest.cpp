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
