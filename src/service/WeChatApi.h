#pragma once
// class "WeChat": QR login (GetCode, Polling), the login watch (GetLoginStatus) and the user
// information (GetUserInfo).

class ApiDispatcher;
class ApiRequest;
struct ServiceContext;
namespace httplib {
struct Response;
}

class WeChatApi {
public:
    explicit WeChatApi(ServiceContext& context) : m_context(context) {}

    void registerWith(ApiDispatcher& dispatcher);

private:
    void getCode(const ApiRequest& request, httplib::Response& res);
    void polling(const ApiRequest& request, httplib::Response& res);
    void getLoginStatus(const ApiRequest& request, httplib::Response& res);
    void getUserInfo(const ApiRequest& request, httplib::Response& res);

    ServiceContext& m_context;
};
