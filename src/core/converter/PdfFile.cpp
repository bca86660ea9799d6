#include "core/converter/PdfFile.h"

namespace Converter {

void PdfFile::setPath(const std::wstring& path)
{
    File::setPath(path);
}

} // namespace Converter
