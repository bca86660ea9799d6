#include "ControlRoutes.h"

#include "AccountFields.h"
#include "JsonReply.h"
#include "ServiceContext.h"
#include "Utf8.h"
#include "VersionNumber.h"

#include <httplib.h>

namespace {

std::string param(const httplib::Request& req, const char* name)
{
    return Utf8::sanitize(req.get_param_value(name));
}

Json::Value listing(const Json::Value& rows)
{
    return JsonReply::ok(rows);
}

} // namespace

void ControlRoutes::handleGet(const httplib::Request& req, httplib::Response& res)
{
    const std::string& path = req.path;
    if (path == "/control/sms") {
        const std::string phone = param(req, "phone");
        const std::string code = m_context.codes.lastSmsCode(phone);
        if (code.empty())
            return JsonReply::fail(res, 404, "no_code", "no code was sent to this phone");
        Json::Value reply = JsonReply::ok();
        reply["phone"] = phone;
        reply["code"] = code;
        return JsonReply::send(res, reply);
    }
    if (path == "/control/feedback")
        return JsonReply::send(res, listing(m_context.reports.feedback()));
    if (path == "/control/error-reports")
        return JsonReply::send(res, listing(m_context.reports.errorReports()));
    if (path == "/control/crash-reports")
        return JsonReply::send(res, listing(m_context.reports.crashReports()));
    if (path == "/control/statistics")
        return JsonReply::send(res, listing(m_context.reports.statistics()));
    if (path == "/control/account")
        return showAccount(req, res);
    if (path == "/control/update")
        return showUpdate(res);
    JsonReply::fail(res, 404, "not_found", "unknown control endpoint");
}

void ControlRoutes::install(httplib::Server& server)
{
    server.Post("/control/qr/scan", [this](const httplib::Request& q, httplib::Response& r) { scanQr(q, r); });
    server.Post("/control/update", [this](const httplib::Request& q, httplib::Response& r) { setUpdate(q, r); });
    server.Post("/control/fault", [this](const httplib::Request& q, httplib::Response& r) { setFault(q, r); });
    server.Post("/control/config", [this](const httplib::Request& q, httplib::Response& r) { setConfig(q, r); });
    server.Post("/control/session/end",
                [this](const httplib::Request& q, httplib::Response& r) { endSession(q, r); });
}

void ControlRoutes::scanQr(const httplib::Request& req, httplib::Response& res)
{
    const std::string guid = param(req, "guid");
    auto guard = m_context.db.lock();
    const auto state = m_context.codes.qr(guid).state;
    if (state == LoginCodeStore::QrState::Unknown)
        return JsonReply::fail(res, 404, "unknown_qr", "unknown QR login id");
    if (state != LoginCodeStore::QrState::Waiting)
        return JsonReply::fail(res, 409, "qr_not_waiting", "the QR code was scanned already or has expired");

    std::int64_t userId = 0;
    if (req.has_param("user_id")) {
        const auto account = m_context.accounts.find(param(req, "user_id"));
        if (!account)
            return JsonReply::fail(res, 404, "unknown_user", "unknown user");
        userId = account->id;
    } else {
        const std::string phone = param(req, "phone");
        if (!phone.empty() && (!validPhone(phone) || m_context.accounts.findByPhone(phone)))
            return JsonReply::fail(res, 409, "bad_phone", "the phone is not valid or is taken");
        std::string name = param(req, "username");
        if (name.empty() || name.size() > 64)
            name = "微信用户" + guid.substr(0, 6);
        userId = m_context.accounts.create(name, {}, {}, phone);
    }
    m_context.codes.markQrScanned(guid, userId);
    Json::Value reply = JsonReply::ok();
    reply["user_id"] = std::to_string(userId);
    JsonReply::send(res, reply);
}

void ControlRoutes::setUpdate(const httplib::Request& req, httplib::Response& res)
{
    const std::string version = param(req, "version");
    if (!version.empty() && !VersionNumber::parse(version))
        return JsonReply::fail(res, 400, "bad_version", "the version is not understood");
    const std::string message = param(req, "msg");
    if (message.size() > 4096)
        return JsonReply::fail(res, 413, "too_large", "the message is too long");
    if (req.get_header_value("Content-Type").rfind("application/octet-stream", 0) == 0 && !req.body.empty())
        m_context.updates.setContent(req.body);
    m_context.updates.setVersion(version, message);
    showUpdate(res);
}

void ControlRoutes::showUpdate(httplib::Response& res)
{
    const UpdateStore::Offer offer = m_context.updates.current();
    Json::Value reply = JsonReply::ok();
    reply["version"] = offer.version;
    reply["msg"] = offer.message;
    reply["sha256"] = offer.sha256;
    reply["size"] = static_cast<Json::UInt64>(offer.content.size());
    reply["url"] = offer.version.empty()
                       ? std::string()
                       : m_context.link("/download/updater/" + offer.version + "/korvex_updater");
    JsonReply::send(res, reply);
}

void ControlRoutes::setFault(const httplib::Request& req, httplib::Response& res)
{
    const std::string kindName = param(req, "kind");
    if (kindName == "none") {
        m_context.faults.clear();
    } else {
        const auto kind = FaultInjector::parseKind(kindName);
        if (!kind)
            return JsonReply::fail(res, 400, "bad_kind", "kind must be error, malformed, disconnect or none");
        FaultInjector::Fault fault;
        fault.kind = *kind;
        fault.type = param(req, "type");
        fault.pathPrefix = param(req, "path");
        if (req.has_param("count")) {
            const std::string count = param(req, "count");
            fault.count = count.size() <= 4 && !count.empty() &&
                                  count.find_first_not_of("0123456789") == std::string::npos
                              ? std::stoi(count)
                              : 0;
            if (fault.count < 1 || fault.count > 1000)
                return JsonReply::fail(res, 400, "bad_count", "count must be 1 to 1000");
        }
        m_context.faults.add(fault);
    }
    Json::Value reply = JsonReply::ok();
    reply["pending"] = static_cast<Json::UInt64>(m_context.faults.pending());
    JsonReply::send(res, reply);
}

void ControlRoutes::setConfig(const httplib::Request& req, httplib::Response& res)
{
    for (const char* name : {"binding_phone", "check_mail"}) {
        if (!req.has_param(name))
            continue;
        const std::string value = param(req, name);
        if (value != "true" && value != "false")
            return JsonReply::fail(res, 400, "bad_value", std::string(name) + " must be true or false");
        m_context.settings.setFlag(name, value == "true");
    }
    Json::Value reply = JsonReply::ok();
    reply["binding_phone"] = m_context.settings.flag("binding_phone");
    reply["check_mail"] = m_context.settings.flag("check_mail");
    JsonReply::send(res, reply);
}

void ControlRoutes::endSession(const httplib::Request& req, httplib::Response& res)
{
    const auto account = m_context.accounts.find(param(req, "user_id"));
    if (!account)
        return JsonReply::fail(res, 404, "unknown_user", "unknown user");
    Json::Value reply = JsonReply::ok();
    reply["ended"] = m_context.accounts.endSessions(account->id);
    JsonReply::send(res, reply);
}

void ControlRoutes::showAccount(const httplib::Request& req, httplib::Response& res)
{
    std::optional<Account> account;
    if (req.has_param("user_id"))
        account = m_context.accounts.find(param(req, "user_id"));
    else if (req.has_param("phone"))
        account = m_context.accounts.findByPhone(param(req, "phone"));
    else
        account = m_context.accounts.findByEmail(param(req, "email"));
    if (!account)
        return JsonReply::fail(res, 404, "unknown_user", "unknown user");
    Json::Value result(Json::objectValue);
    result["uid"] = std::to_string(account->id);
    result["username"] = account->username;
    result["email"] = account->email;
    result["phone"] = account->phone;
    result["open_key"] = m_context.accounts.currentOpenKey(account->id);
    JsonReply::send(res, JsonReply::ok(result));
}
