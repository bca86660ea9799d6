#pragma once
// What a compress job did, in the current language: "3.2 MB → 0.9 MB (−72%)".

#include <cstdint>
#include <string>

namespace Converter {

std::wstring compressionSummary(std::int64_t before, std::int64_t after);

// The same for two files; empty when either size cannot be read.
std::wstring compressionSummaryOf(const std::wstring& input, const std::wstring& output);

} // namespace Converter
