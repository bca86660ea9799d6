#include "EmailAccountApi.h"

#include "AccountFields.h"
#include "ApiDispatcher.h"
#include "ApiRequest.h"
#include "Crypto.h"
#include "JsonReply.h"
#include "ServiceContext.h"

#include <httplib.h>

namespace {

Json::Value signedIn(std::int64_t userId, const std::string& openKey)
{
    Json::Value result(Json::objectValue);
    result["status"] = true;
    result["user_id"] = std::to_string(userId);
    result["open_key"] = openKey;
    return JsonReply::ok(result);
}

} // namespace

void EmailAccountApi::registerWith(ApiDispatcher& dispatcher)
{
    route(dispatcher, "System", "UserRegister", &EmailAccountApi::userRegister);
    route(dispatcher, "System", "UserLogin", &EmailAccountApi::userLogin);
}

// result.status true with user_id and open_key, plus the top-level check_mail flag; false with
// error_msg when the address is taken or not an address.
void EmailAccountApi::userRegister(const ApiRequest& request, httplib::Response& res)
{
    const std::string email = request.field("user_name");
    const std::string password = request.field("password");
    if (!validEmail(email))
        return JsonReply::send(res, refused("Invalid E-mail Address"));
    if (password.empty())
        return JsonReply::send(res, refused("Password Is Empty"));

    const std::string hash = Crypto::hashPassword(password);
    auto guard = m_context.db.lock();
    if (m_context.accounts.findByEmail(email))
        return JsonReply::send(res, refused("This E-mail Is Already Registered"));
    const std::int64_t id = m_context.accounts.create(email, email, hash, {});
    Json::Value reply = signedIn(id, m_context.accounts.issueOpenKey(id, "email"));
    reply["check_mail"] = m_context.settings.flag("check_mail");
    JsonReply::send(res, reply);
}

// result.status true with user_id and open_key; false when the pair does not match.
void EmailAccountApi::userLogin(const ApiRequest& request, httplib::Response& res)
{
    const auto account = m_context.accounts.findByEmail(request.field("user_name"));
    if (!account || account->passwordHash.empty() ||
        !Crypto::verifyPassword(request.field("password"), account->passwordHash))
        return JsonReply::send(res, refused("mismatch account and password"));
    JsonReply::send(res, signedIn(account->id, m_context.accounts.issueOpenKey(account->id, "email")));
}
