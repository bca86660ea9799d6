#pragma once
// Faults that tests arm through the control endpoints: the next matching reply fails with
// HTTP 500, is not JSON, or breaks off in the middle of the transfer.

#include <deque>
#include <mutex>
#include <optional>
#include <string>

namespace httplib {
struct Response;
}

class FaultInjector {
public:
    enum class Kind { ServerError, Malformed, Disconnect };
    struct Fault {
        Kind kind = Kind::ServerError;
        std::string type;       // only API requests of this "type" (empty: any)
        std::string pathPrefix; // only paths that start with this (empty: any)
        int count = 1;          // how many replies it spoils
    };

    // "error", "malformed" or "disconnect".
    static std::optional<Kind> parseKind(const std::string& name);
    // Writes the spoiled reply.
    static void apply(Kind kind, httplib::Response& res);

    void add(const Fault& fault);
    void clear();
    size_t pending() const;
    // The first armed fault that matches the request, counted down; nothing when none matches.
    std::optional<Kind> take(const std::string& path, const std::string& apiType);

private:
    mutable std::mutex m_mutex;
    std::deque<Fault> m_faults;
};
