#include "SystemApi.h"

#include "ApiDispatcher.h"
#include "ApiRequest.h"
#include "JsonReply.h"
#include "ServiceContext.h"

#include <httplib.h>

void SystemApi::registerWith(ApiDispatcher& dispatcher)
{
    using httplib::Response;
    route(dispatcher, "System", "GetConfig", &SystemApi::getConfig);
    route(dispatcher, "System", "Feedback", &SystemApi::feedback);
    dispatcher.add("System", "LoginStatistics",
                   [this](const ApiRequest& r, Response& res) { statistic("login", r, res); });
    dispatcher.add("System", "ConvertStatistics",
                   [this](const ApiRequest& r, Response& res) { statistic("convert", r, res); });
    dispatcher.add("System", "OpenStatistics",
                   [this](const ApiRequest& r, Response& res) { statistic("open", r, res); });
    route(dispatcher, "System", "Goto", &SystemApi::gotoPage);
    route(dispatcher, "System", "SetErrorMsg", &SystemApi::setErrorMsg);
}

// result: domain (web base address, ends with "/"), binding_phone (bool).
void SystemApi::getConfig(const ApiRequest&, httplib::Response& res)
{
    Json::Value result(Json::objectValue);
    result["domain"] = m_context.link("/");
    result["binding_phone"] = m_context.settings.flag("binding_phone");
    JsonReply::send(res, JsonReply::ok(result));
}

void SystemApi::feedback(const ApiRequest& request, httplib::Response& res)
{
    ReportStore::Feedback f;
    f.content = request.field("content");
    if (f.content.empty())
        return JsonReply::send(res, JsonReply::failure("empty_feedback", "the feedback has no content"));
    f.userId = request.field("user_id");
    f.winType = request.field("win_type");
    f.key = request.field("key");
    f.value = request.field("value");
    f.macId = request.field("mac_id");
    f.version = request.field("version");
    Json::Value reply = JsonReply::ok();
    reply["id"] = static_cast<Json::Int64>(m_context.reports.addFeedback(f));
    JsonReply::send(res, reply);
}

void SystemApi::statistic(const std::string& kind, const ApiRequest& request, httplib::Response& res)
{
    ReportStore::Statistic s{kind, request.field("user_id"), request.field("mac_id"),
                             request.field("version"), request.field("convert_type")};
    m_context.reports.addStatistic(s);
    JsonReply::send(res, JsonReply::ok());
}

// key "clause": result is the link of the terms page.
void SystemApi::gotoPage(const ApiRequest& request, httplib::Response& res)
{
    if (request.field("key") != "clause")
        return JsonReply::send(res, JsonReply::failure("unknown_page", "unknown page"));
    JsonReply::send(res, JsonReply::ok(m_context.link("/clause.html")));
}

void SystemApi::setErrorMsg(const ApiRequest& request, httplib::Response& res)
{
    const std::string reason = request.field("reason");
    if (reason.empty())
        return JsonReply::send(res, JsonReply::failure("empty_report", "the report has no reason"));
    Json::Value reply = JsonReply::ok();
    reply["id"] = static_cast<Json::Int64>(
        m_context.reports.addErrorReport(reason, request.field("version"), request.field("uid")));
    JsonReply::send(res, reply);
}
