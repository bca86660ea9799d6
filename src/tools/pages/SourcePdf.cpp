#include "SourcePdf.h"

#include "BookmarkReader.h"
#include "FileBlockSource.h"

#include <memory>
#include <stdexcept>

SourcePdf::SourcePdf(const std::string& path) : m_path(path)
{
    m_pdf.processInputSource(std::make_shared<FileBlockSource>(path));
    load();
}

SourcePdf::SourcePdf(const std::string& name, const char* data, std::size_t size) : m_path(name)
{
    m_pdf.setSuppressWarnings(true);
    m_pdf.processMemoryFile(name.c_str(), data, size);
    load();
}

void SourcePdf::load()
{
    m_pages = m_pdf.getAllPages();
    if (m_pages.empty())
        throw std::runtime_error(m_path + ": the document has no pages");
    m_bookmarks = readBookmarks(m_pdf, m_pages);
    m_labels = std::make_unique<QPDFPageLabelDocumentHelper>(m_pdf);
    auto forms = std::make_unique<QPDFAcroFormDocumentHelper>(m_pdf);
    if (forms->hasAcroForm())
        m_forms = std::move(forms);
}
