#include "SourcePdf.h"

#include "FileBlockSource.h"
#include "PageTreeCut.h"
#include "ReachedTable.h"
#include "RootKids.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <stdexcept>

SourcePdf::SourcePdf(const std::string& path, AfterReading after) : m_path(path), m_afterReading(after)
{
    m_pdf->processInputSource(std::make_shared<FileBlockSource>(path));
    load();
}

SourcePdf::SourcePdf(const std::string& name, const char* data, std::size_t size) : m_path(name)
{
    m_pdf->setSuppressWarnings(true);
    m_pdf->processMemoryFile(name.c_str(), data, size);
    load();
}

namespace {

std::size_t distinctCount(std::vector<int> pages)
{
    std::sort(pages.begin(), pages.end());
    return static_cast<std::size_t>(std::unique(pages.begin(), pages.end()) - pages.begin());
}

} // namespace

SourcePdf::~SourcePdf() = default;

bool SourcePdf::loadReached(const Chooser& choose)
{
    m_reached = std::make_unique<ReachedTable>(m_path);
    ReachedTable& reached = *m_reached;
    if (reached.claimedCount() == 0)
        return false;
    std::vector<int> chosen;
    try {
        chosen = choose(reached.claimedCount());
    } catch (const std::exception&) {
        return false; // the whole tree decides whether the pages are there
    }
    std::string tail = chosen.empty() ? std::string() : reached.tail(chosen);
    if (tail.empty())
        return false;
    // Warnings come out when the file is read whole, if it comes to that.
    m_pdf->setSuppressWarnings(true);
    bool loaded = false;
    try {
        m_pdf->processInputSource(std::make_shared<FileBlockSource>(m_path, reached.tableOffset(), std::move(tail)));
        loaded = !m_pdf->anyWarnings() && !m_pdf->isEncrypted() && !m_pdf->getRoot().hasKey("/AcroForm");
        if (loaded) {
            RootKids rootKids(*m_pdf, reached.root(), reached.takeKids(), reached.rootDictionary());
            std::error_code error;
            const auto bytes = std::filesystem::file_size(m_path, error);
            PageTreeCut tree(*m_pdf, error ? 0 : static_cast<long long>(bytes), rootKids.taken());
            loaded = !rootKids.taken().empty() && tree.claimedCount() == reached.claimedCount() &&
                     tree.keepOnly(chosen, m_pages) && !m_pdf->anyWarnings();
        }
    } catch (const std::exception&) {
        loaded = false; // what the whole file makes of it is what counts
    }
    if (!loaded) {
        m_pages.clear();
        m_pdf = std::make_unique<QPDF>();
        return false;
    }
    m_pdf->setSuppressWarnings(false);
    m_chosen = std::move(chosen);
    m_cut = true;
    readDocumentParts();
    return true;
}

SourcePdf::SourcePdf(const std::string& path, const Chooser& choose) : m_path(path)
{
    if (loadReached(choose))
        return;
    m_reached.reset();
    m_pdf->processInputSource(std::make_shared<FileBlockSource>(path));
    // Encrypted files and forms keep the whole document, so they are written from it as a whole.
    if (!m_pdf->isEncrypted() && !m_pdf->getRoot().hasKey("/AcroForm")) {
        std::error_code error;
        const auto bytes = std::filesystem::file_size(path, error);
        RootKids rootKids(*m_pdf, path);
        PageTreeCut tree(*m_pdf, error ? 0 : static_cast<long long>(bytes), rootKids.taken());
        if (tree.claimedCount() > 0) {
            try {
                m_chosen = choose(tree.claimedCount());
            } catch (const std::exception&) {
                m_chosen.clear(); // the whole tree decides whether the pages are there
            }
            // Where objects sit in object streams, reading one page parses its neighbours too:
            // a large share of the pages then costs less memory written from the whole
            // document, as qpdf does, than copied out of it.
            const bool largeShare = distinctCount(m_chosen) * 4 >= static_cast<std::size_t>(tree.claimedCount());
            const bool worthCutting = !m_chosen.empty() && !(packsObjects() && largeShare);
            if (worthCutting && tree.keepOnly(m_chosen, m_pages)) {
                m_cut = true;
                readDocumentParts();
                return;
            }
        }
        rootKids.putBack();
    }
    load();
    m_chosen = choose(pageCount());
}

bool SourcePdf::packsObjects()
{
    QPDFObjectHandle trailer = m_pdf->getTrailer();
    QPDFObjectHandle type = trailer.getKey("/Type");
    return (type.isName() && type.getName() == "/XRef") || trailer.hasKey("/XRefStm");
}

void SourcePdf::releasePage(int page)
{
    QPDFObjectHandle dictionary = pages()[static_cast<std::size_t>(page)];
    std::vector<QPDFObjGen> gone{dictionary.getObjGen()};
    QPDFObjectHandle contents = dictionary.getKey("/Contents");
    std::vector<QPDFObjectHandle> streams = contents.isArray() ? contents.getArrayAsVector()
                                                               : std::vector<QPDFObjectHandle>{contents};
    for (QPDFObjectHandle& stream : streams) {
        if (stream.isIndirect() && stream.isStream())
            gone.push_back(stream.getObjGen());
    }
    for (const QPDFObjGen& object : gone)
        m_pdf->replaceObject(object, QPDFObjectHandle::newNull());
}

void SourcePdf::load()
{
    // qpdf's own list: a copy would cost memory in proportion to the pages, which a split of a
    // large file into single pages feels.
    m_live = &m_pdf->getAllPages();
    if (m_live->empty())
        throw std::runtime_error(m_path + ": the document has no pages");
    readDocumentParts();
}

void SourcePdf::freezePages()
{
    if (m_live != &m_pages) {
        m_pages = *m_live;
        m_live = &m_pages;
    }
}

void SourcePdf::readDocumentParts()
{
    m_bookmarks = readBookmarks(*m_pdf, pages(), m_afterReading);
    m_labels = std::make_unique<QPDFPageLabelDocumentHelper>(*m_pdf);
    auto forms = std::make_unique<QPDFAcroFormDocumentHelper>(*m_pdf);
    if (forms->hasAcroForm())
        m_forms = std::move(forms);
}
