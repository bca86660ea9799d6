#include "VersionNumber.h"

#include <charconv>

std::optional<VersionNumber> VersionNumber::parse(const std::string& text)
{
    VersionNumber version;
    const char* p = text.data();
    const char* const end = p + text.size();
    for (size_t i = 0; i < version.m_parts.size(); ++i) {
        const auto [next, ec] = std::from_chars(p, end, version.m_parts[i]);
        if (ec != std::errc() || next - p > 9)
            return std::nullopt;
        p = next;
        if (p == end)
            return version;
        if (*p != '.')
            return std::nullopt;
        ++p;
    }
    return std::nullopt; // a fifth part, or a trailing dot
}
