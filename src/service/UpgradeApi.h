#pragma once
// class "System", type "Upgrade": the update check.

class ApiDispatcher;
class ApiRequest;
struct ServiceContext;
namespace httplib {
struct Response;
}

class UpgradeApi {
public:
    explicit UpgradeApi(ServiceContext& context) : m_context(context) {}

    void registerWith(ApiDispatcher& dispatcher);

private:
    void upgrade(const ApiRequest& request, httplib::Response& res);

    ServiceContext& m_context;
};
