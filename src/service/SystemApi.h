#pragma once
// class "System": configuration (GetConfig), feedback, usage statistics, the terms page (Goto)
// and error reports (SetErrorMsg).

#include "ServiceApi.h"

#include <string>

class SystemApi : public ServiceApi {
    Handler getConfig, feedback, gotoPage, setErrorMsg;
    void statistic(const std::string& kind, const ApiRequest& request, httplib::Response& res);

public:
    using ServiceApi::ServiceApi;
    void registerWith(ApiDispatcher& dispatcher) override;
};
