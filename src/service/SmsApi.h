#pragma once
// class "Sms": sending a verification code to a phone (getMsm) and checking it (checkCode),
// either to sign in with the phone or to bind it to the account given as user_id.

#include <string>

class ApiDispatcher;
class ApiRequest;
struct ServiceContext;
namespace httplib {
struct Response;
}

class SmsApi {
public:
    explicit SmsApi(ServiceContext& context) : m_context(context) {}

    void registerWith(ApiDispatcher& dispatcher);

    // Eleven digits, "1" and then 3 to 9.
    static bool validPhone(const std::string& phone);

private:
    void getMsm(const ApiRequest& request, httplib::Response& res);
    void checkCode(const ApiRequest& request, httplib::Response& res);

    ServiceContext& m_context;
};
