#pragma once
// A request target: either composed from host, path and query parameters, or a complete link
// handed out by the service.

#include <map>
#include <string>

namespace Network {

class URL {
public:
    URL() = default;
    // scheme://host/path?k1=v1&k2=v2 with the keys in byte-wise order; no "?" without
    // parameters. Nothing is escaped here: producers escape values that need it.
    URL(const std::string& host, const std::string& path,
        const std::map<std::string, std::string>& parameters, const std::string& scheme = "http");
    explicit URL(const std::string& completeUrl);
    virtual ~URL() = default;

    const std::string& getUrl() const { return url; }

    std::string scheme;
    std::string host;
    std::string path;
    std::map<std::string, std::string> parameters; // std::less<std::string> is byte-wise
    std::string url;
};

} // namespace Network
