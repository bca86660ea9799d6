#include "core/user/ServiceAddress.h"

#include <algorithm>
#include <cctype>

bool ServiceAddress::isLoopbackHost(const std::string& hostWithPort)
{
    std::string host = hostWithPort;
    if (!host.empty() && host[0] == '[') {
        const std::size_t end = host.find(']');
        return host.substr(1, end == std::string::npos ? std::string::npos : end - 1) == "::1";
    }
    host = host.substr(0, host.find(':'));
    std::transform(host.begin(), host.end(), host.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return host == "localhost" || host.rfind("127.", 0) == 0;
}

ServiceAddress ServiceAddress::parse(const std::string& base)
{
    ServiceAddress address;
    const std::size_t sep = base.find("://");
    if (base.empty() || sep == std::string::npos)
        return address;
    std::string scheme = base.substr(0, sep);
    std::transform(scheme.begin(), scheme.end(), scheme.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    std::string rest = base.substr(sep + 3);
    const std::size_t slash = rest.find('/');
    std::string host = rest.substr(0, slash);
    std::string prefix = slash == std::string::npos ? "" : rest.substr(slash);
    while (!prefix.empty() && prefix.back() == '/')
        prefix.pop_back();
    if (host.empty() || (scheme != "http" && scheme != "https"))
        return address;
    if (scheme == "http" && !isLoopbackHost(host))
        scheme = "https";
    address.m_scheme = scheme;
    address.m_host = host;
    address.m_prefix = prefix;
    return address;
}
