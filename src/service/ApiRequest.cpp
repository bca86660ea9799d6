#include "ApiRequest.h"

#include "Utf8.h"

#include <httplib.h>

std::string ApiRequest::problem() const
{
    if (m_req.params.size() > kMaxFields)
        return "too many fields";
    for (const auto& [name, value] : m_req.params) {
        if (name.size() > kMaxNameLength)
            return "field name too long";
        const size_t limit = (name == "content" || name == "reason") ? kMaxTextLength : kMaxValueLength;
        if (value.size() > limit)
            return "field '" + Utf8::sanitize(name) + "' is longer than " + std::to_string(limit) + " bytes";
    }
    return {};
}

std::string ApiRequest::field(const std::string& name) const
{
    return Utf8::sanitize(m_req.get_param_value(name));
}

bool ApiRequest::has(const std::string& name) const
{
    return m_req.has_param(name);
}
