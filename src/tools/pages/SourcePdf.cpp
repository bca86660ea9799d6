#include "SourcePdf.h"

#include "BookmarkReader.h"

#include <stdexcept>

SourcePdf::SourcePdf(const std::string& path) : m_path(path)
{
    m_pdf.processFile(path.c_str());
    m_pages = m_pdf.getAllPages();
    if (m_pages.empty())
        throw std::runtime_error(path + ": the document has no pages");
    m_bookmarks = readBookmarks(m_pdf, m_pages);
    m_labels = std::make_unique<QPDFPageLabelDocumentHelper>(m_pdf);
    auto forms = std::make_unique<QPDFAcroFormDocumentHelper>(m_pdf);
    if (forms->hasAcroForm())
        m_forms = std::move(forms);
}
