#pragma once
// What every handler class of the API shares: the service's state, routing a "class" and
// "type" to one of its member functions, and the reply to a request it declines.

#include "ApiDispatcher.h"
#include "ServicePart.h"

#include <json/value.h>

#include <string>

class ServiceApi : protected ServicePart {
public:
    using ServicePart::ServicePart;
    virtual ~ServiceApi() = default;

    virtual void registerWith(ApiDispatcher& dispatcher) = 0;

protected:
    // The type of every request handler, so a class declares its handlers in one line.
    using Handler = void(const ApiRequest& request, httplib::Response& res);

    template <class Api>
    void route(ApiDispatcher& dispatcher, const std::string& className, const std::string& type,
               void (Api::*handler)(const ApiRequest&, httplib::Response&))
    {
        Api* api = static_cast<Api*>(this);
        dispatcher.add(className, type,
                       [api, handler](const ApiRequest& r, httplib::Response& res) { (api->*handler)(r, res); });
    }

    // {"success": true, "result": {"status": false, "error_msg": message}}
    static Json::Value refused(const std::string& message);
};
