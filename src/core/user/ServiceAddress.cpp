#include "core/user/ServiceAddress.h"

#include <algorithm>
#include <cctype>

#include <arpa/inet.h>

bool ServiceAddress::isLoopbackHost(const std::string& hostWithPort)
{
    // localhost, [::1] or a 127.x.x.x address, with or without a port; a name that merely
    // starts with "127." (127.0.0.1.example.com) is somebody else's host.
    std::string rest = hostWithPort;
    if (rest.rfind("[::1]", 0) == 0) {
        rest = rest.substr(5);
    } else {
        const std::size_t colon = rest.find(':');
        std::string name = rest.substr(0, colon);
        rest = colon == std::string::npos ? std::string() : rest.substr(colon);
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        in_addr address{};
        const bool ipv4 = ::inet_pton(AF_INET, name.c_str(), &address) == 1 && (ntohl(address.s_addr) >> 24) == 127;
        if (name != "localhost" && !ipv4)
            return false;
    }
    // What is left is nothing or a port.
    return rest.empty() || (rest.size() > 1 && rest[0] == ':' &&
                            std::all_of(rest.begin() + 1, rest.end(),
                                        [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }));
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
