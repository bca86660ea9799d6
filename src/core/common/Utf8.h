#pragma once
// The one UTF-8 codec of the core. Text that is not UTF-8 survives a round trip: each invalid
// byte b travels as the wide character U+DC00 + b and is written back as that byte.

#include <string>

namespace Utf8 {

std::wstring decode(const std::string& text);
std::string encode(const std::wstring& text);
// Whether text is well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool isValid(const std::string& text);

} // namespace Utf8
