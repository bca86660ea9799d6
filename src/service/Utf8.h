#pragma once
// Text that arrives from the network is not trusted to be UTF-8.

#include <string>
#include <string_view>

class Utf8 {
public:
    static bool valid(std::string_view text);
    // Replaces every invalid sequence by U+FFFD.
    static std::string sanitize(std::string_view text);
};
