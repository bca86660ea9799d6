#pragma once
// Where the online service lives: scheme, host (with port) and path prefix, read from the
// install settings. Without one, an https address that never resolves, so an offline start
// costs nothing.

#include <string>

class ServiceAddress {
public:
    static constexpr const char* kDefaultBase = "https://service.korvex.invalid";

    // Parses "scheme://host[:port][/prefix]". Plain http is kept only for loopback hosts;
    // anything else is sent over https, so credentials never travel in clear text.
    static ServiceAddress parse(const std::string& base);
    static bool isLoopbackHost(const std::string& host);

    const std::string& scheme() const { return m_scheme; }
    const std::string& host() const { return m_host; }
    const std::string& prefix() const { return m_prefix; }
    // scheme://host
    std::string origin() const { return m_scheme + "://" + m_host; }

private:
    std::string m_scheme = "https";
    std::string m_host = "service.korvex.invalid";
    std::string m_prefix;
};
