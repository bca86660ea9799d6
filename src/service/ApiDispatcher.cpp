#include "ApiDispatcher.h"

#include "ApiRequest.h"
#include "JsonReply.h"

#include <httplib.h>

void ApiDispatcher::add(const std::string& className, const std::string& type, Handler handler)
{
    m_handlers[{className, type}] = std::move(handler);
}

void ApiDispatcher::handle(const httplib::Request& req, httplib::Response& res) const
{
    const ApiRequest request(req);
    if (const std::string problem = request.problem(); !problem.empty())
        return JsonReply::fail(res, 413, "too_large", problem);
    if (!request.has("token"))
        return JsonReply::fail(res, 403, "missing_token", "the request carries no token");
    if (request.field("token") != kApiKey)
        return JsonReply::fail(res, 403, "bad_token", "the token is not valid");
    if (request.field("soft_type") != kProductCode)
        return JsonReply::fail(res, 403, "bad_soft_type", "unknown product");

    const std::string className = request.field("class");
    const std::string type = request.field("type");
    const auto it = m_handlers.find({className, type});
    if (it == m_handlers.end())
        return JsonReply::fail(res, 404, "unknown_request", "unknown request " + className + "/" + type);
    it->second(request, res);
}
