#include "core/converter/CompressionSummary.h"

#include "core/app/TextId.h"
#include "core/app/TextTable.h"
#include "core/common/Utils.h"

#include <cmath>

namespace Converter {

std::wstring compressionSummary(std::int64_t before, std::int64_t after)
{
    long change = 0;
    if (before > 0)
        change = std::lround((static_cast<double>(after) - static_cast<double>(before)) * 100.0 / static_cast<double>(before));
    // A true minus sign, as in print; a file that grew says so with a plus.
    const std::wstring percent = change < 0   ? L"\u2212" + std::to_wstring(-change) + L"%"
                                 : change > 0 ? L"+" + std::to_wstring(change) + L"%"
                                              : L"0%";
    return Glossary::text(Glossary::TextRequest(
        TextId::CompressedSizes, {Utils::formatFileSize(static_cast<double>(before)),
                                  Utils::formatFileSize(static_cast<double>(after)), percent}));
}

std::wstring compressionSummaryOf(const std::wstring& input, const std::wstring& output)
{
    const std::int64_t before = Utils::getFileSize(input);
    const std::int64_t after = Utils::getFileSize(output);
    if (before < 0 || after < 0)
        return {};
    return compressionSummary(before, after);
}

} // namespace Converter
