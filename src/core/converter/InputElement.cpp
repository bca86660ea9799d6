#include "core/converter/InputElement.h"

namespace Converter {

InputElement::InputElement(std::wstring path, int fromPage, int toPage)
    : PdfFile(std::move(path)), m_fromPage(fromPage), m_toPage(toPage)
{
}

void InputElement::setPath(const std::wstring& path)
{
    PdfFile::setPath(path);
    if (m_pageCount != -1) {
        m_fromPage = 1;
        m_toPage = m_pageCount;
    }
}

} // namespace Converter
