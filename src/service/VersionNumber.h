#pragma once
// Program versions: one to four dot-separated decimal numbers ("1.2" is "1.2.0.0").

#include <array>
#include <compare>
#include <optional>
#include <string>

class VersionNumber {
public:
    // Nothing when the text is not such a version.
    static std::optional<VersionNumber> parse(const std::string& text);

    auto operator<=>(const VersionNumber&) const = default;

private:
    std::array<unsigned long, 4> m_parts{};
};
