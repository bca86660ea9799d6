#pragma once

#include <string>

namespace Utils {

// Percent-encodes every byte except ASCII letters, digits, "-", ".", "_" and "~" (libcurl's
// escaping).
std::string urlEscape(const std::string& text);

} // namespace Utils
