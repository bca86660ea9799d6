#pragma once
// class "System", type "Upgrade": the update check.

#include "ServiceApi.h"

class UpgradeApi : public ServiceApi {
public:
    using ServiceApi::ServiceApi;

    void registerWith(ApiDispatcher& dispatcher) override;

private:
    void upgrade(const ApiRequest& request, httplib::Response& res);
};
