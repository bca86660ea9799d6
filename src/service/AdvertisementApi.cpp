#include "AdvertisementApi.h"

#include "ApiDispatcher.h"
#include "ApiRequest.h"
#include "HtmlPage.h"
#include "JsonReply.h"
#include "ServiceContext.h"

#include <httplib.h>

void AdvertisementApi::registerWith(ApiDispatcher& dispatcher)
{
    route(dispatcher, "Advertisement", "GetAds", &AdvertisementApi::getAds);
    route(dispatcher, "Advertisement", "GotoAds", &AdvertisementApi::gotoAds);
}

// result: [{"img_key", "img_url"}, ...]; only pictures of img_type "1" exist.
void AdvertisementApi::getAds(const ApiRequest& request, httplib::Response& res)
{
    Json::Value list(Json::arrayValue);
    if (request.field("img_type") == "1") {
        for (const auto& ad : m_context.ads.all()) {
            Json::Value entry(Json::objectValue);
            entry["img_key"] = ad.key;
            entry["img_url"] = m_context.link("/download/ads/" + ad.key + ".png");
            list.append(entry);
        }
    }
    JsonReply::send(res, JsonReply::ok(list));
}

// An HTML page about the advertisement; the click is counted as a statistic.
void AdvertisementApi::gotoAds(const ApiRequest& request, httplib::Response& res)
{
    const auto ad = m_context.ads.find(request.field("img_key"));
    if (!ad)
        return JsonReply::fail(res, 404, "unknown_advertisement", "unknown advertisement");
    m_context.reports.addStatistic({"ad_click", request.field("user_id"), request.field("mac_id"),
                                    request.field("version"), ad->key});
    const std::string body = "<p><img src=\"/download/ads/" + HtmlPage::escape(ad->key) +
                             ".png\" alt=\"\"></p>\n<p>Thank you for your interest.</p>";
    res.set_content(HtmlPage::render(ad->title, body), "text/html; charset=utf-8");
}
