#pragma once
// The one debug trace sink: standard error when KORVEX_DEBUG is set, otherwise nothing.

#include <string>

namespace Platform {

void debugLog(const std::string& text);

} // namespace Platform
