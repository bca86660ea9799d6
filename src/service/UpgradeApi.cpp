#include "UpgradeApi.h"

#include "ApiDispatcher.h"
#include "ApiRequest.h"
#include "JsonReply.h"
#include "ServiceContext.h"
#include "VersionNumber.h"

#include <httplib.h>

void UpgradeApi::registerWith(ApiDispatcher& dispatcher)
{
    route(dispatcher, "System", "Upgrade", &UpgradeApi::upgrade);
}

// When the offered version is newer than the caller's "version":
//   {"success": true, "version", "msg", "url" (the updater), "sha256" (its digest, hexadecimal),
//    "size" (its length in bytes)}
// otherwise {"success": false, "msg"}.
void UpgradeApi::upgrade(const ApiRequest& request, httplib::Response& res)
{
    const auto mine = VersionNumber::parse(request.field("version"));
    if (!mine)
        return JsonReply::send(res, JsonReply::failure("bad_version", "the version is not understood"));
    const UpdateStore::Offer offer = m_context.updates.current();
    const auto offered = VersionNumber::parse(offer.version);
    if (!offered || *offered <= *mine) {
        Json::Value reply(Json::objectValue);
        reply["success"] = false;
        reply["msg"] = "You have the newest version.";
        return JsonReply::send(res, reply);
    }
    Json::Value reply = JsonReply::ok();
    reply["version"] = offer.version;
    reply["msg"] = offer.message.empty()
                       ? "新版本 " + offer.version + " 已发布，是否立即更新？\nVersion " + offer.version +
                             " is available. Update now?"
                       : offer.message;
    reply["url"] = m_context.link("/download/updater/" + offer.version + "/korvex_updater");
    reply["sha256"] = offer.sha256;
    reply["size"] = static_cast<Json::UInt64>(offer.content.size());
    JsonReply::send(res, reply);
}
