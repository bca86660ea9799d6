#include "core/converter/File.h"

namespace Converter {

void File::setPath(const std::wstring& path)
{
    m_path = path;
}

} // namespace Converter
