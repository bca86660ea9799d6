#include "core/actions/LoginWndAction.h"

#include "core/actions/ActionPayloads.h"
#include "core/common/Utils.h"
#include "core/message/WindowMessages.h"
#include "core/user/RequestId.h"
#include "core/user/User.h"

#include <json/json.h>

using namespace WindowMessages;

void LoginWndAction::detach()
{
    // Under the lock: a reply being handled now ends first, and none is handled after.
    std::lock_guard lock(m_mutex);
    m_detached = true;
}

void LoginWndAction::post(int message, std::intptr_t wParam) const
{
    MessageSink::current().post(m_window, message, wParam, nullptr);
}

// Timers live on the window's thread; the window stops its own.
void LoginWndAction::stopQrTimer() const
{
    post(WM_STOP_TIMER, kQrTimer);
}

void LoginWndAction::OnReply(Network::Reply& reply)
{
    std::lock_guard lock(m_mutex);
    if (m_detached)
        return;
    if (reply.requestId != RequestId::DownloadQrImage) {
        CommonWndUserAction::OnReply(reply);
        return;
    }
    User* user = User::current();
    // A failed download is a network error, not a picture holding the libcurl code.
    if (!reply.succeeded || !user) {
        CommonWndUserAction::OnRequestError(reply.body, reply.requestId);
        return;
    }
    const std::wstring path = user->saveReplyFile(User::ReplyFileKind::QrImage, reply.body,
                                                  reply.url.getUrl());
    notify(Notify::QrImage, std::make_unique<WidePathPayload>(path));
}

void LoginWndAction::OnJsonReply(const Json::Value& root, int request)
{
    switch (request) {
    case RequestId::GetCode:
        onGetCode(root);
        break;
    case RequestId::Polling:
        onPolling(root);
        break;
    case RequestId::GetSmsCode:
        onSmsCode(root);
        break;
    case RequestId::CheckSmsCodeLogin:
    case RequestId::CheckSmsCodeBind:
        onCheckCode(root);
        break;
    case RequestId::UserRegister:
        notify(LoginNotify::SignUpReply, std::make_unique<JsonPayload>(root));
        break;
    case RequestId::UserLogin:
        onUserLogin(root);
        break;
    default:
        break;
    }
}

void LoginWndAction::onGetCode(const Json::Value& root)
{
    User* user = User::current();
    if (!root["success"].asBool() || !user) {
        notify(LoginNotify::QrLink);
        return;
    }
    const std::string guid = root["guid"].asString();
    const std::string link = root["result"].asString();
    user->setQrGuid(guid);
    notify(LoginNotify::QrLink, nullptr, 1);
    user->SendRequestTo(RequestId::DownloadQrImage, shared_from_this(), Network::URL(link));
}

void LoginWndAction::onPolling(const Json::Value& root)
{
    if (!root["success"].asBool()) {
        notify(LoginNotify::PollingFailed);
        return;
    }
    const Json::Value& result = root["result"];
    const std::string status = result["status"].asString();
    if (status == "wait")
        return;
    if (status != "success") {
        notify(LoginNotify::PollingStatus);
        return;
    }
    const bool noPhone = result["phone"].isNull();
    signIn(result);
    if (noPhone)
        notify(LoginNotify::SignedInNoPhone);
    else
        post(WM_CLOSE);
    stopQrTimer();
}

void LoginWndAction::onSmsCode(const Json::Value& root)
{
    const int page = m_page;
    if (!root["success"].asBool()) {
        notify(LoginNotify::SendFailed);
        return;
    }
    const Json::Value& result = root["result"];
    if (result["status"].asBool()) {
        notify(LoginNotify::CodeSent, nullptr, page);
        post(WM_CODE_COUNTDOWN, page);
        return;
    }
    const std::string message =
        result.isMember("error_msg") ? result["error_msg"].asString() : "暂时无法获取验证码";
    notify(LoginNotify::SendRefused, std::make_unique<CodeMessage>(page, Utils::utf8ToWide(message)));
}

void LoginWndAction::onCheckCode(const Json::Value& root)
{
    const int page = m_page;
    if (!root["success"].asBool()) {
        notify(LoginNotify::CheckFailed, nullptr, page);
        return;
    }
    const Json::Value& result = root["result"];
    if (result["status"].asBool()) {
        signIn(result);
        post(WM_CLOSE);
        return;
    }
    const std::string message =
        result.isMember("error_msg") ? result["error_msg"].asString() : "验证验证码失败";
    notify(LoginNotify::CheckRefused, std::make_unique<CodeMessage>(page, Utils::utf8ToWide(message)));
}

void LoginWndAction::onUserLogin(const Json::Value& root)
{
    if (!root["success"].asBool())
        return;
    const Json::Value& result = root["result"];
    if (!result["status"].asBool()) {
        notify(LoginNotify::SignInRefused);
        return;
    }
    signIn(result);
    post(WM_CLOSE);
}

void LoginWndAction::signIn(const Json::Value& result)
{
    // Both read before either is stored: a reply of the wrong shape leaves the account alone.
    const std::string userId = result["user_id"].asString();
    const std::string openKey = result["open_key"].asString();
    if (User* user = User::current()) {
        user->setUserId(userId);
        user->setOpenKey(openKey);
    }
    MessageSink::current().post(m_owner, WM_USER_REFRESH, 0, nullptr);
}

void LoginWndAction::OnRequestError(const std::string& body, int request)
{
    if (request == RequestId::Polling)
        stopQrTimer();
    CommonWndUserAction::OnRequestError(body, request);
}

void LoginWndAction::OnParseError(const std::string& body, int request)
{
    stopQrTimer();
    CommonWndUserAction::OnParseError(body, request);
}

void LoginWndAction::OnJsonExceptionError(const Json::Exception& error, int request)
{
    stopQrTimer();
    CommonWndUserAction::OnJsonExceptionError(error, request);
}
