#include "core/platform/DebugLog.h"

#include <cstdio>
#include <cstdlib>

namespace Platform {

void debugLog(const std::string& text)
{
    static const bool enabled = std::getenv("KORVEX_DEBUG") != nullptr;
    if (enabled)
        std::fwrite(text.data(), 1, text.size(), stderr);
}

} // namespace Platform
