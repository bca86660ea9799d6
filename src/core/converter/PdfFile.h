#pragma once
// A PDF file with its page count (-1 while nobody has counted it).

#include "core/converter/File.h"

namespace Converter {

class PdfFile : public File {
public:
    PdfFile() = default;
    explicit PdfFile(std::wstring path) : File(std::move(path)) {}

    void setPath(const std::wstring& path) override;

    int pageCount() const { return m_pageCount; }
    void setPageCount(int pageCount) { m_pageCount = pageCount; }

protected:
    int m_pageCount = -1;
};

} // namespace Converter
