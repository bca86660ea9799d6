#pragma once
// class "Sms": sending a verification code to a phone (getMsm) and checking it (checkCode),
// either to sign in with the phone or to bind it to the account given as user_id.

#include "ServiceApi.h"

#include <string>

class SmsApi : public ServiceApi {
public:
    using ServiceApi::ServiceApi;

    void registerWith(ApiDispatcher& dispatcher) override;

    // Eleven digits, "1" and then 3 to 9.
    static bool validPhone(const std::string& phone);

private:
    void getMsm(const ApiRequest& request, httplib::Response& res);
    void checkCode(const ApiRequest& request, httplib::Response& res);
};
