#pragma once
// class "System", e-mail accounts: UserRegister (sign-up) and UserLogin (sign-in).

#include "ServiceApi.h"

class EmailAccountApi : public ServiceApi {
    Handler userRegister, userLogin;

public:
    using ServiceApi::ServiceApi;
    void registerWith(ApiDispatcher& dispatcher) override;
};
