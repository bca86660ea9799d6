#include "core/converter/CompressionLevel.h"

namespace Converter {

namespace {
constexpr const char* kNames[] = {"standard", "lossless", "balanced", "strong"};
} // namespace

const char* compressionLevelName(CompressionLevel level)
{
    return kNames[static_cast<int>(compressionLevelAt(static_cast<int>(level)))];
}

std::optional<CompressionLevel> compressionLevelFromName(const std::string& name)
{
    for (int i = 0; i < 4; ++i) {
        if (name == kNames[i])
            return static_cast<CompressionLevel>(i);
    }
    return std::nullopt;
}

CompressionLevel compressionLevelAt(int index)
{
    return index >= 0 && index <= 3 ? static_cast<CompressionLevel>(index) : CompressionLevel::Standard;
}

} // namespace Converter
