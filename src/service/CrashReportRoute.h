#pragma once
// "/senderrormsg", where the crash reporter delivers its reports. It takes GET with query fields
// or POST with query fields plus a form (urlencoded or multipart), a JSON object, or any other
// body. Text fields are kept as a JSON object; a multipart file part (the first one) or a body
// that is neither form nor JSON is kept as the attachment. A "soft_type" field, when present,
// must be "12".

namespace httplib {
struct Request;
struct Response;
}
struct ServiceContext;

class CrashReportRoute {
public:
    static constexpr unsigned kMaxFields = 64;
    static constexpr unsigned kMaxFieldLength = 4096;

    explicit CrashReportRoute(ServiceContext& context) : m_context(context) {}

    void handle(const httplib::Request& req, httplib::Response& res);

private:
    ServiceContext& m_context;
};
