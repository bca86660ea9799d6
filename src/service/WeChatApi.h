#pragma once
// class "WeChat": QR login (GetCode, Polling), the login watch (GetLoginStatus) and the user
// information (GetUserInfo).

#include "ServiceApi.h"

class WeChatApi : public ServiceApi {
    Handler getCode, polling, getLoginStatus, getUserInfo;

public:
    using ServiceApi::ServiceApi;
    void registerWith(ApiDispatcher& dispatcher) override;
};
