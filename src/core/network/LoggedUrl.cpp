#include "core/network/LoggedUrl.h"

#include <array>

namespace Network {

namespace {

bool isSecretKey(const std::string& key)
{
    static const std::array<const char*, 3> kSecrets = {"password", "repassword", "code"};
    for (const char* secret : kSecrets) {
        if (key == secret)
            return true;
    }
    return false;
}

} // namespace

std::string loggedUrl(const std::string& url)
{
    const std::size_t query = url.find('?');
    if (query == std::string::npos)
        return url;
    const std::size_t fragment = url.find('#', query);
    const std::size_t end = fragment == std::string::npos ? url.size() : fragment;
    std::string logged = url.substr(0, query + 1);
    std::size_t at = query + 1;
    while (at <= end) {
        std::size_t next = url.find('&', at);
        if (next == std::string::npos || next > end)
            next = end;
        const std::string field = url.substr(at, next - at);
        const std::size_t equals = field.find('=');
        if (equals != std::string::npos && isSecretKey(field.substr(0, equals)))
            logged += field.substr(0, equals + 1) + "***";
        else
            logged += field;
        if (next < end)
            logged += '&';
        at = next + 1;
    }
    return logged + url.substr(end);
}

} // namespace Network
