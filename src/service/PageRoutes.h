#pragma once
// The web pages behind the links of the API: the terms ("/clause.html", from Goto) and the user
// centre ("/api/user_login.html?open_key=...", below the GetConfig "domain").

namespace httplib {
struct Request;
struct Response;
}
struct ServiceContext;

class PageRoutes {
public:
    explicit PageRoutes(ServiceContext& context) : m_context(context) {}

    // False when the path is none of the pages.
    bool handle(const httplib::Request& req, httplib::Response& res);

private:
    ServiceContext& m_context;
};
