#include "core/network/Url.h"

namespace Network {

URL::URL(const std::string& host_, const std::string& path_,
         const std::map<std::string, std::string>& parameters_, const std::string& scheme_)
    : scheme(scheme_), host(host_), path(path_), parameters(parameters_)
{
    url.reserve(5 * (host.size() + path.size()));
    url = scheme + "://" + host + path + "?";
    for (const auto& [key, value] : parameters)
        url += key + "=" + value + "&";
    url.pop_back(); // the last "&", or the "?" when there are no parameters
}

URL::URL(const std::string& completeUrl) : url(completeUrl) {}

} // namespace Network
