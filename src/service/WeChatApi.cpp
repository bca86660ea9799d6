#include "WeChatApi.h"

#include "ApiDispatcher.h"
#include "ApiRequest.h"
#include "JsonReply.h"
#include "ServiceContext.h"

#include <httplib.h>

void WeChatApi::registerWith(ApiDispatcher& dispatcher)
{
    route(dispatcher, "WeChat", "GetCode", &WeChatApi::getCode);
    route(dispatcher, "WeChat", "Polling", &WeChatApi::polling);
    route(dispatcher, "WeChat", "GetLoginStatus", &WeChatApi::getLoginStatus);
    route(dispatcher, "WeChat", "GetUserInfo", &WeChatApi::getUserInfo);
}

// {"success": true, "guid": id, "result": link of the QR image}
void WeChatApi::getCode(const ApiRequest&, httplib::Response& res)
{
    const std::string guid = m_context.codes.createQr();
    Json::Value reply = JsonReply::ok(m_context.link("/download/qr/" + guid + ".png"));
    reply["guid"] = guid;
    JsonReply::send(res, reply);
}

// result.status: "wait" until the code is scanned, then "success" with the account's user_id,
// open_key and phone (null while none is bound); "expired" when nobody scanned it in time.
void WeChatApi::polling(const ApiRequest& request, httplib::Response& res)
{
    const std::string guid = request.field("guid");
    auto guard = m_context.db.lock(); // two polls must not both issue a key
    const LoginCodeStore::QrLogin login = m_context.codes.qr(guid);
    Json::Value result(Json::objectValue);
    switch (login.state) {
    case LoginCodeStore::QrState::Unknown:
        return JsonReply::send(res, JsonReply::failure("unknown_qr", "unknown QR login id"));
    case LoginCodeStore::QrState::Expired:
        result["status"] = "expired";
        break;
    case LoginCodeStore::QrState::Waiting:
        result["status"] = "wait";
        break;
    case LoginCodeStore::QrState::Scanned: {
        const auto account = m_context.accounts.find(login.userId);
        if (!account)
            return JsonReply::send(res, JsonReply::failure("unknown_user", "the account no longer exists"));
        std::string openKey = login.openKey;
        if (openKey.empty()) {
            openKey = m_context.accounts.issueOpenKey(account->id, "wechat");
            m_context.codes.setQrOpenKey(guid, openKey);
        }
        result["status"] = "success";
        result["user_id"] = std::to_string(account->id);
        result["open_key"] = openKey;
        result["phone"] = account->phone.empty() ? Json::Value() : Json::Value(account->phone);
        break;
    }
    }
    JsonReply::send(res, JsonReply::ok(result));
}

// {"success": true, "open_key": key in force}; success false once the user is signed out.
void WeChatApi::getLoginStatus(const ApiRequest& request, httplib::Response& res)
{
    const auto account = m_context.accounts.find(request.field("user_id"));
    const std::string key = account ? m_context.accounts.currentOpenKey(account->id) : std::string();
    if (key.empty())
        return JsonReply::send(res, JsonReply::failure("signed_out", "the user is not signed in"));
    Json::Value reply = JsonReply::ok();
    reply["open_key"] = key;
    JsonReply::send(res, reply);
}

// result: uid, username, open_key, photo (link of the avatar).
void WeChatApi::getUserInfo(const ApiRequest& request, httplib::Response& res)
{
    const auto account = m_context.accounts.find(request.field("user_id"));
    const std::string key = account ? m_context.accounts.currentOpenKey(account->id) : std::string();
    if (key.empty())
        return JsonReply::send(res, JsonReply::failure("signed_out", "the user is not signed in"));
    Json::Value result(Json::objectValue);
    result["uid"] = std::to_string(account->id);
    result["username"] = account->username;
    result["open_key"] = key;
    result["photo"] = m_context.link("/download/avatar/" + std::to_string(account->id) + ".png");
    JsonReply::send(res, JsonReply::ok(result));
}
