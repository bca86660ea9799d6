#pragma once
// class "System": configuration (GetConfig), feedback, usage statistics, the terms page (Goto)
// and error reports (SetErrorMsg).

#include "ServiceApi.h"

#include <string>

class SystemApi : public ServiceApi {
public:
    using ServiceApi::ServiceApi;

    void registerWith(ApiDispatcher& dispatcher) override;

private:
    void getConfig(const ApiRequest& request, httplib::Response& res);
    void feedback(const ApiRequest& request, httplib::Response& res);
    void statistic(const std::string& kind, const ApiRequest& request, httplib::Response& res);
    void gotoPage(const ApiRequest& request, httplib::Response& res);
    void setErrorMsg(const ApiRequest& request, httplib::Response& res);
};
