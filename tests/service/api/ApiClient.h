#pragma once
// Talks HTTP to a running korvex-service the way the desktop client does: GET /index.php with
// the query fields in byte-wise key order, plus the control and download addresses.

#include "HttpReply.h"
#include "support/ServiceProcess.h"

#include <map>
#include <string>

class ApiClient {
public:
    using Fields = std::map<std::string, std::string>;

    explicit ApiClient(const ServiceProcess& service) : m_service(service) {}

    // GET /index.php with token, soft_type, class, type and the fields (values percent-escaped).
    HttpReply call(const std::string& className, const std::string& type, const Fields& fields = {});
    // GET of a target sent exactly as given.
    HttpReply get(const std::string& target);
    HttpReply post(const std::string& target, const std::string& body = {},
                   const std::string& contentType = "application/x-www-form-urlencoded");
    // The "result" array of GET /control/<name>.
    Json::Value list(const std::string& name);

    // Escapes every byte except letters, digits, "-", ".", "_" and "~".
    static std::string escape(const std::string& value);
    static std::string query(const Fields& fields);

private:
    const ServiceProcess& m_service;
};
