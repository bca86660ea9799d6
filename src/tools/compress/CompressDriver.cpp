#include "CompressDriver.h"

#include "ImageRecoder.h"
#include "PlacementScanner.h"
#include "StreamDeduplicator.h"

#include <qpdf/Pl_Flate.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <vector>

namespace {

namespace fs = std::filesystem;

void reportPage(int page, int count)
{
    std::printf("page\t%d\t%d\n", page, count);
    std::fflush(stdout);
}

} // namespace

CompressDriver::CompressDriver(Level level, std::string input, std::string output)
    : m_level(level), m_input(std::move(input)), m_output(std::move(output))
{
}

bool CompressDriver::writeAt(Level level, bool reportPages)
{
    QPDF pdf;
    pdf.processFile(m_input.c_str());
    QPDFPageDocumentHelper pageHelper(pdf);
    try {
        pageHelper.removeUnreferencedResources();
    } catch (const std::exception&) {
        // Pages whose content cannot be read keep all their resources.
    }
    StreamDeduplicator::run(pdf);

    std::vector<QPDFPageObjectHelper> pages = pageHelper.getAllPages();
    const int count = static_cast<int>(pages.size());
    if (level == Level::Lossless) {
        if (reportPages) {
            for (int n = 1; n <= count; ++n)
                reportPage(n, count);
        }
    } else {
        PlacementScanner scanner;
        for (int n = 1; n <= count; ++n)
            scanner.scanPage(pages[static_cast<std::size_t>(n - 1)], n);
        // Each image is recoded with the page it is first drawn on, so progress follows pages.
        std::map<int, std::vector<QPDFObjGen>> byPage;
        for (const auto& [id, place] : scanner.placements()) {
            if (!scanner.unknown().count(id))
                byPage[place.firstPage].push_back(id);
        }
        ImageRecoder recoder(level == Level::Balanced ? 150 : 96, level == Level::Balanced ? 75 : 55);
        for (int n = 1; n <= count; ++n) {
            for (const QPDFObjGen& id : byPage[n])
                recoder.recode(pdf.getObjectByObjGen(id), scanner.placements().at(id));
            if (reportPages)
                reportPage(n, count);
        }
    }

    Pl_Flate::setCompressionLevel(9);
    QPDFWriter writer(pdf, m_output.c_str());
    writer.setObjectStreamMode(qpdf_o_generate);
    writer.setCompressStreams(true);
    writer.setDecodeLevel(qpdf_dl_generalized);
    writer.setRecompressFlate(true);
    writer.write();
    return pdf.anyWarnings();
}

CompressDriver::Outcome CompressDriver::run()
{
    const std::uintmax_t inputSize = fs::file_size(m_input);
    Outcome outcome;
    outcome.kept = "level";
    outcome.warnings = writeAt(m_level, true);
    if (fs::file_size(m_output) < inputSize)
        return outcome;
    if (m_level != Level::Lossless) {
        outcome.kept = "lossless";
        outcome.warnings = writeAt(Level::Lossless, false) || outcome.warnings;
        if (fs::file_size(m_output) < inputSize)
            return outcome;
    }
    // Nothing helped: the input as it is.
    outcome.kept = "copy";
    fs::copy_file(m_input, m_output, fs::copy_options::overwrite_existing);
    return outcome;
}
