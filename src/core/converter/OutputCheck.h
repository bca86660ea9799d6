#pragma once
// Whether a file qpdf says it wrote is really whole. On a full disk qpdf can exit with success
// and leave an empty or cut-off file behind; such a file must not count as a result.

#include <string>

namespace Converter {

enum class Flush { Now, Later };

// True when the file is not empty and its last bytes are the PDF end-of-file marker ("%%EOF",
// perhaps followed by white space), and, with Flush::Now, it can be flushed to disk without an
// error. Flush::Later leaves the flush to a FolderSync of the whole run.
bool isCompletePdf(const std::string& path, Flush flush = Flush::Now);

} // namespace Converter
