#include "support/PdfFactory.h"

#include "core/converter/ChildProcess.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <stdexcept>

namespace PdfFactory {

namespace {

Converter::ChildProcess::Result runQpdf(const std::vector<std::string>& args, bool capture)
{
    Converter::ChildProcess::Options options;
    options.captureOutput = capture;
    options.outputLimit = std::size_t(1) << 30;
    return Converter::ChildProcess::run(qpdf(), args, nullptr, options);
}

} // namespace

std::vector<std::string> documentObjects(int pages)
{
    // Objects: 1 catalog, 2 page tree, 3 font, then a page and its content stream per page.
    std::vector<std::string> objects;
    objects.push_back("<< /Type /Catalog /Pages 2 0 R >>");
    std::string kids;
    for (int i = 0; i < pages; ++i)
        kids += std::to_string(4 + 2 * i) + " 0 R ";
    objects.push_back("<< /Type /Pages /Kids [ " + kids + "] /Count " + std::to_string(pages) + " >>");
    objects.push_back("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>");
    for (int i = 0; i < pages; ++i) {
        // The number is also a key of the page itself: pages repeated in one output share
        // their content stream but are page objects of their own.
        objects.push_back("<< /Type /Page /Parent 2 0 R /KorvexPage " + std::to_string(i + 1) +
                          " /MediaBox [0 0 300 200] /Resources << /Font << /F1 3 0 R >> >> /Contents " +
                          std::to_string(5 + 2 * i) + " 0 R >>");
        const std::string content = "BT /F1 24 Tf 40 90 Td (Page " + std::to_string(i + 1) + ") Tj ET";
        objects.push_back("<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content +
                          "\nendstream");
    }
    return objects;
}

void writeObjects(const std::filesystem::path& path, const std::vector<std::string>& objects,
                  const Options& options)
{
    std::string bytes = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<std::size_t> offsets;
    for (std::size_t k = 0; k < objects.size(); ++k) {
        offsets.push_back(bytes.size());
        bytes += std::to_string(k + 1) + " 0 obj\n" + objects[k] + "\nendobj\n";
    }
    const std::size_t xref = bytes.size();
    bytes += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    char entry[32];
    for (std::size_t offset : offsets) {
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", options.damagedXref ? offset + 7 : offset);
        bytes += entry;
    }
    bytes += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
             std::to_string(xref) + "\n%%EOF\n";

    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

void write(const std::filesystem::path& path, int pages, const Options& options)
{
    writeObjects(path, documentObjects(pages), options);
}

void writeWithHeavyPage(const std::filesystem::path& path, int pages, int heavyPage, int extraBytes)
{
    std::vector<std::string> objects = documentObjects(pages);
    std::string pad;
    std::uint32_t state = 12345;
    for (int i = 0; i < 2 * extraBytes; ++i) {
        state = state * 1103515245u + 12345u;
        pad += "0123456789abcdef"[(state >> 16) & 15];
    }
    objects[3 + 2 * (heavyPage - 1)].insert(2, " /KorvexPad <" + pad + ">");
    writeObjects(path, objects);
}

std::string qpdf()
{
    const char* configured = std::getenv("KORVEX_TEST_QPDF");
    return configured && *configured ? configured : "/usr/bin/qpdf";
}

bool encrypt(const std::filesystem::path& input, const std::filesystem::path& output,
             const std::string& userPassword, const std::string& ownerPassword)
{
    const auto run = runQpdf({"--encrypt", userPassword, ownerPassword, "256", "--", input.string(),
                              output.string()},
                             false);
    return run.exitCode == 0 && std::filesystem::exists(output);
}

bool packObjects(const std::filesystem::path& input, const std::filesystem::path& output)
{
    const auto run = runQpdf({"--object-streams=generate", input.string(), output.string()}, false);
    return run.exitCode == 0 && std::filesystem::exists(output);
}

int pageCount(const std::filesystem::path& path)
{
    const auto run = runQpdf({"--show-npages", path.string()}, true);
    if (run.exitCode != 0 && run.exitCode != 3)
        return -1;
    return std::atoi(run.output.c_str());
}

std::vector<int> pageRange(int first, int last)
{
    std::vector<int> pages;
    for (int p = first; p <= last; ++p)
        pages.push_back(p);
    return pages;
}

std::vector<int> pageNumbers(const std::filesystem::path& path, const std::string& password)
{
    std::vector<std::string> args = {"--qdf", "--object-streams=disable"};
    if (!password.empty())
        args.push_back("--password=" + password);
    args.push_back(path.string());
    args.push_back("-");
    const auto run = runQpdf(args, true);
    std::vector<int> numbers;
    if (run.exitCode != 0 && run.exitCode != 3)
        return numbers;
    // Page objects come out in page order in QDF form.
    static const std::regex label(R"(/KorvexPage (\d+))");
    for (auto it = std::sregex_iterator(run.output.begin(), run.output.end(), label);
         it != std::sregex_iterator(); ++it)
        numbers.push_back(std::stoi((*it)[1].str()));
    return numbers;
}

bool isEncrypted(const std::filesystem::path& path)
{
    const auto run = runQpdf({"--requires-password", path.string()}, false);
    // 0: a password is needed, 3: encrypted without a user password, 2: not encrypted.
    return run.exitCode == 0 || run.exitCode == 3;
}

} // namespace PdfFactory
