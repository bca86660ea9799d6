#pragma once
// makeOutputPath in the user's configured save folder. It sits above the user record, which
// the converter knows nothing of.

#include "core/converter/PdfOperations.h"

#include <string>

namespace Converter {

// Empty while there is no user record.
std::wstring makeOutputPath(int zone, const std::wstring& input, const std::wstring& extension);

} // namespace Converter
