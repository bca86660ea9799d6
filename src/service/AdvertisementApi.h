#pragma once
// class "Advertisement": the list of advertisements (GetAds) and the page an advertisement
// opens in the browser (GotoAds).

#include "ServiceApi.h"

class AdvertisementApi : public ServiceApi {
    Handler getAds, gotoAds;

public:
    using ServiceApi::ServiceApi;
    void registerWith(ApiDispatcher& dispatcher) override;
};
