#pragma once
// PDFs for tests, written here byte by byte (no PDF library), and qpdf-made variants of them.
// Page k of a generated file shows the text "Page k" and carries the number in its page
// dictionary, so tests can tell which pages an output holds and in what order.

#include <filesystem>
#include <string>
#include <vector>

namespace PdfFactory {

struct Options {
    // Cross-reference offsets that point nowhere: qpdf repairs the file and warns (exit 3).
    bool damagedXref = false;
};

// Writes a valid PDF of the given number of pages.
void write(const std::filesystem::path& path, int pages, const Options& options = {});

// The objects of such a file (object k + 1 at index k): 1 the catalog, 2 the page tree, 3 a
// font, then page k and its content at 4 + 2(k - 1) and 5 + 2(k - 1). For files that need
// more objects: append them, extend the catalog, then writeObjects.
std::vector<std::string> documentObjects(int pages);
void writeObjects(const std::filesystem::path& path, const std::vector<std::string>& objects,
                  const Options& options = {});

// Such a file whose page heavyPage also carries about extraBytes of a string that does not
// compress: one page far bigger than the others, which take well under 1 KB each.
void writeWithHeavyPage(const std::filesystem::path& path, int pages, int heavyPage, int extraBytes);

// The qpdf the tests use (KORVEX_TEST_QPDF, else qpdf on the PATH).
std::string qpdf();

// qpdf --encrypt with 256-bit AES. An empty user password gives a file that opens without one
// (only the owner password restricts it). True when qpdf wrote the file.
bool encrypt(const std::filesystem::path& input, const std::filesystem::path& output,
             const std::string& userPassword, const std::string& ownerPassword = "owner-secret");

// qpdf --object-streams=generate: the file's objects packed in object streams, with a
// cross-reference stream. True when qpdf wrote the file.
bool packObjects(const std::filesystem::path& input, const std::filesystem::path& output);

// What qpdf reports for the file; -1 when it cannot read it.
int pageCount(const std::filesystem::path& path);

// The "Page k" numbers of the file's pages, in page order; empty when qpdf cannot read it.
std::vector<int> pageNumbers(const std::filesystem::path& path, const std::string& password = {});

// first, first + 1, …, last.
std::vector<int> pageRange(int first, int last);

// True when qpdf finds the file encrypted.
bool isEncrypted(const std::filesystem::path& path);

} // namespace PdfFactory
