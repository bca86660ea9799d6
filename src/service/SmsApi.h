#pragma once
// class "Sms": sending a verification code to a phone (getMsm) and checking it (checkCode),
// either to sign in with the phone or to bind it to the account given as user_id.

#include "ServiceApi.h"

class SmsApi : public ServiceApi {
    Handler getMsm, checkCode;

public:
    using ServiceApi::ServiceApi;
    void registerWith(ApiDispatcher& dispatcher) override;
};
