#pragma once
// How hard a compress job works. Standard is qpdf's own stream compression; the others run
// korvex-compress: Lossless rewrites the structure only, Balanced and Strong also downsample
// images drawn above 150 and 96 pixels per inch and store them as JPEG.

#include <optional>
#include <string>

namespace Converter {

enum class CompressionLevel { Standard = 0, Lossless = 1, Balanced = 2, Strong = 3 };

// "standard", "lossless", "balanced", "strong": the names on command lines.
const char* compressionLevelName(CompressionLevel level);
std::optional<CompressionLevel> compressionLevelFromName(const std::string& name);
// The level at a combo index (the order above); Standard for any other index.
CompressionLevel compressionLevelAt(int index);

} // namespace Converter
