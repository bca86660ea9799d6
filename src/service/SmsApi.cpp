#include "SmsApi.h"

#include "AccountFields.h"
#include "ApiDispatcher.h"
#include "ApiRequest.h"
#include "JsonReply.h"
#include "ServiceContext.h"

#include <httplib.h>

#include <iostream>

void SmsApi::registerWith(ApiDispatcher& dispatcher)
{
    route(dispatcher, "Sms", "getMsm", &SmsApi::getMsm);
    route(dispatcher, "Sms", "checkCode", &SmsApi::checkCode);
}

// result.status true when a code went out; false with error_msg otherwise.
void SmsApi::getMsm(const ApiRequest& request, httplib::Response& res)
{
    const std::string phone = request.field("phone");
    if (!validPhone(phone))
        return JsonReply::send(res, refused("手机号码格式不正确"));
    const std::string code = m_context.codes.createSmsCode(phone);
    // No text message leaves this machine: the code is kept for the control endpoint, and the
    // log says only that one went out (codes, like passwords, are never logged).
    std::clog << "korvex-service: SMS code sent to " << phone << " (GET /control/sms)" << std::endl;
    Json::Value result(Json::objectValue);
    result["status"] = true;
    JsonReply::send(res, JsonReply::ok(result));
}

// result.status true with user_id and open_key when the code is right; false with error_msg.
void SmsApi::checkCode(const ApiRequest& request, httplib::Response& res)
{
    const std::string phone = request.field("phone");
    const std::string userId = request.field("user_id");
    auto guard = m_context.db.lock();

    std::optional<Account> binding;
    if (!userId.empty()) {
        binding = m_context.accounts.find(userId);
        if (!binding)
            return JsonReply::send(res, refused("账号不存在"));
        const auto holder = m_context.accounts.findByPhone(phone);
        if (holder && holder->id != binding->id)
            return JsonReply::send(res, refused("该手机号已绑定其他账号"));
    }
    if (!validPhone(phone) || !m_context.codes.useSmsCode(phone, request.field("code")))
        return JsonReply::send(res, refused("验证码错误"));

    Account account;
    std::string openKey;
    if (binding) {
        m_context.accounts.bindPhone(binding->id, phone);
        account = *binding;
        openKey = m_context.accounts.currentOpenKey(account.id);
        if (openKey.empty())
            openKey = m_context.accounts.issueOpenKey(account.id, "sms");
    } else {
        account = m_context.accounts.findOrCreateByPhone(phone);
        openKey = m_context.accounts.issueOpenKey(account.id, "sms");
    }
    Json::Value result(Json::objectValue);
    result["status"] = true;
    result["user_id"] = std::to_string(account.id);
    result["open_key"] = openKey;
    JsonReply::send(res, JsonReply::ok(result));
}
