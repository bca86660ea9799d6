#pragma once
// class "System", type "Upgrade": the update check.

#include "ServiceApi.h"

class UpgradeApi : public ServiceApi {
    Handler upgrade;

public:
    using ServiceApi::ServiceApi;
    void registerWith(ApiDispatcher& dispatcher) override;
};
