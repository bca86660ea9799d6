#pragma once
// The query fields of one API request, with the limits the service enforces on them.

#include <string>

namespace httplib {
struct Request;
}

class ApiRequest {
public:
    static constexpr size_t kMaxFields = 32;
    static constexpr size_t kMaxNameLength = 32;
    static constexpr size_t kMaxValueLength = 256;
    // Feedback text and error reports may be longer.
    static constexpr size_t kMaxTextLength = 4096;

    explicit ApiRequest(const httplib::Request& req) : m_req(req) {}

    // Empty when the request keeps to the limits, else what is wrong with it.
    std::string problem() const;
    // The field's value as UTF-8 (invalid bytes replaced), or empty when it is missing.
    std::string field(const std::string& name) const;
    bool has(const std::string& name) const;

private:
    const httplib::Request& m_req;
};
