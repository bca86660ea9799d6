#include "core/common/UrlEscape.h"

#include <curl/curl.h>

namespace Utils {

std::string urlEscape(const std::string& text)
{
    if (text.empty())
        return {};
    char* escaped = curl_easy_escape(nullptr, text.c_str(), static_cast<int>(text.size()));
    if (!escaped)
        return {};
    std::string result = escaped;
    curl_free(escaped);
    return result;
}

} // namespace Utils
