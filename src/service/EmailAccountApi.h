#pragma once
// class "System", e-mail accounts: UserRegister (sign-up) and UserLogin (sign-in).

#include <string>

class ApiDispatcher;
class ApiRequest;
struct ServiceContext;
namespace httplib {
struct Response;
}

class EmailAccountApi {
public:
    explicit EmailAccountApi(ServiceContext& context) : m_context(context) {}

    void registerWith(ApiDispatcher& dispatcher);

    // A local part, "@", and a domain with at least one dot; no spaces, "&" or "=".
    static bool validEmail(const std::string& email);

private:
    void userRegister(const ApiRequest& request, httplib::Response& res);
    void userLogin(const ApiRequest& request, httplib::Response& res);

    ServiceContext& m_context;
};
