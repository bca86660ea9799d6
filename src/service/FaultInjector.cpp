#include "FaultInjector.h"

#include "JsonReply.h"

#include <httplib.h>

std::optional<FaultInjector::Kind> FaultInjector::parseKind(const std::string& name)
{
    if (name == "error")
        return Kind::ServerError;
    if (name == "malformed")
        return Kind::Malformed;
    if (name == "disconnect")
        return Kind::Disconnect;
    return std::nullopt;
}

void FaultInjector::apply(Kind kind, httplib::Response& res)
{
    switch (kind) {
    case Kind::ServerError:
        JsonReply::fail(res, 500, "injected_failure", "internal server error");
        break;
    case Kind::Malformed:
        res.status = 200;
        res.set_content("<html><body>502 Bad Gateway {\"success\":</body></html>\n", "text/html");
        break;
    case Kind::Disconnect:
        // Announces a body and then closes the connection without sending it.
        res.status = 200;
        res.set_content_provider(1024, "application/json",
                                 [](size_t, size_t, httplib::DataSink&) { return false; });
        break;
    }
}

void FaultInjector::add(const Fault& fault)
{
    if (fault.count <= 0)
        return;
    std::lock_guard<std::mutex> guard(m_mutex);
    m_faults.push_back(fault);
}

void FaultInjector::clear()
{
    std::lock_guard<std::mutex> guard(m_mutex);
    m_faults.clear();
}

size_t FaultInjector::pending() const
{
    std::lock_guard<std::mutex> guard(m_mutex);
    size_t total = 0;
    for (const Fault& f : m_faults)
        total += static_cast<size_t>(f.count);
    return total;
}

std::optional<FaultInjector::Kind> FaultInjector::take(const std::string& path, const std::string& apiType)
{
    std::lock_guard<std::mutex> guard(m_mutex);
    for (auto it = m_faults.begin(); it != m_faults.end(); ++it) {
        if (!it->type.empty() && it->type != apiType)
            continue;
        if (!it->pathPrefix.empty() && path.compare(0, it->pathPrefix.size(), it->pathPrefix) != 0)
            continue;
        const Kind kind = it->kind;
        if (--it->count <= 0)
            m_faults.erase(it);
        return kind;
    }
    return std::nullopt;
}
