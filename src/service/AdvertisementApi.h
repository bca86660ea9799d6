#pragma once
// class "Advertisement": the list of advertisements (GetAds) and the page an advertisement
// opens in the browser (GotoAds).

class ApiDispatcher;
class ApiRequest;
struct ServiceContext;
namespace httplib {
struct Response;
}

class AdvertisementApi {
public:
    explicit AdvertisementApi(ServiceContext& context) : m_context(context) {}

    void registerWith(ApiDispatcher& dispatcher);

private:
    void getAds(const ApiRequest& request, httplib::Response& res);
    void gotoAds(const ApiRequest& request, httplib::Response& res);

    ServiceContext& m_context;
};
