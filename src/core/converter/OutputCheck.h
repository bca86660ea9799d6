#pragma once
// Whether a file qpdf says it wrote is really whole. On a full disk qpdf can exit with success
// and leave an empty or cut-off file behind; such a file must not count as a result.

#include <string>

namespace Converter {

// True when the file can be flushed to disk without an error, is not empty, and its last
// bytes are the PDF end-of-file marker ("%%EOF", perhaps followed by white space).
bool isCompletePdf(const std::string& path);

} // namespace Converter
