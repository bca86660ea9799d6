#pragma once
// class "System": configuration (GetConfig), feedback, usage statistics, the terms page (Goto)
// and error reports (SetErrorMsg).

#include <string>

class ApiDispatcher;
class ApiRequest;
struct ServiceContext;
namespace httplib {
struct Response;
}

class SystemApi {
public:
    explicit SystemApi(ServiceContext& context) : m_context(context) {}

    void registerWith(ApiDispatcher& dispatcher);

private:
    void getConfig(const ApiRequest& request, httplib::Response& res);
    void feedback(const ApiRequest& request, httplib::Response& res);
    void statistic(const std::string& kind, const ApiRequest& request, httplib::Response& res);
    void gotoPage(const ApiRequest& request, httplib::Response& res);
    void setErrorMsg(const ApiRequest& request, httplib::Response& res);

    ServiceContext& m_context;
};
