#pragma once
// class "WeChat": QR login (GetCode, Polling), the login watch (GetLoginStatus) and the user
// information (GetUserInfo).

#include "ServiceApi.h"

class WeChatApi : public ServiceApi {
public:
    using ServiceApi::ServiceApi;

    void registerWith(ApiDispatcher& dispatcher) override;

private:
    void getCode(const ApiRequest& request, httplib::Response& res);
    void polling(const ApiRequest& request, httplib::Response& res);
    void getLoginStatus(const ApiRequest& request, httplib::Response& res);
    void getUserInfo(const ApiRequest& request, httplib::Response& res);
};
