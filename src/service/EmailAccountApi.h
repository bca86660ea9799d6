#pragma once
// class "System", e-mail accounts: UserRegister (sign-up) and UserLogin (sign-in).

#include "ServiceApi.h"

#include <string>

class EmailAccountApi : public ServiceApi {
public:
    using ServiceApi::ServiceApi;

    void registerWith(ApiDispatcher& dispatcher) override;

    // A local part, "@", and a domain with at least one dot; no spaces, "&" or "=".
    static bool validEmail(const std::string& email);

private:
    void userRegister(const ApiRequest& request, httplib::Response& res);
    void userLogin(const ApiRequest& request, httplib::Response& res);
};
