#include "core/actions/Action.h"

#include "core/actions/ActionPayloads.h"
#include "core/common/Utils.h"
#include "core/message/WindowMessages.h"
#include "core/network/RequestRunner.h"
#include "core/user/RequestId.h"
#include "core/user/User.h"

#include <json/json.h>

#include <algorithm>
#include <atomic>

namespace {

using namespace WindowMessages;

// Failures of the user information and configuration requests; a success does not reset them.
std::atomic<int> g_userInfoFailures{0};
std::atomic<int> g_configFailures{0};
// Silent update checks that failed in a row.
std::atomic<int> g_updateFailures{0};

constexpr int kRetries = 3;
constexpr int kFailUserInfoText = 47;
constexpr int kFailConfigText = 48;

} // namespace

bool Action::replySucceeded(const Json::Value& root)
{
    if (!root.isObject())
        return false;
    const Json::Value& success = root["success"];
    return success.isBool() || success.isNumeric() ? success.asBool() : false;
}

bool Action::replyFlag(const Json::Value& root)
{
    // jsoncpp's own reading: a member of a value that is not an object, or a flag that is
    // neither a boolean, a number nor null, throws.
    return root["success"].asBool();
}

std::chrono::milliseconds Action::updateRetryDelay(int failures)
{
    const int shift = std::clamp(failures, 1, 10);
    const long long ms = 1000LL << shift;
    return std::chrono::milliseconds(std::min(ms, 5LL * 60 * 1000));
}

void Action::startTimer(int id, int periodMs) const
{
    MessageSink::current().post(m_window, WM_START_TIMER, id, std::make_unique<TimerPayload>(periodMs));
}

void Action::OnReply(Network::Reply& reply)
{
    User* user = User::current();
    if (!user)
        return;
    if (reply.requestId == RequestId::DownloadAvatar) {
        // A failed download keeps the avatar the user had instead of replacing it by an error.
        if (!reply.succeeded)
            return;
        const std::wstring path = user->saveReplyFile(User::ReplyFileKind::Avatar, reply.body,
                                                      reply.url.getUrl());
        user->setNickPhotoPath(Utils::wideToAnsi(path));
        notify(Notify::AvatarReady, std::make_unique<WidePathPayload>(path));
        return;
    }
    if (reply.requestId == RequestId::DownloadAdImage) {
        if (!reply.succeeded)
            return;
        user->saveReplyFile(User::ReplyFileKind::AdvertisementImage, reply.body, reply.url.getUrl());
        notify(Notify::AdImageReady);
        return;
    }
    CommonWndUserAction::OnReply(reply);
}

void Action::OnJsonReply(const Json::Value& root, int request)
{
    User* user = User::current();
    if (!user)
        return;
    // Read only for the requests that need it: the replies of the others are ignored whatever
    // their shape, and the update checks hand the whole reply to the window. A flag of the
    // wrong shape is a reply of the wrong shape, which the window ignores: a garbled status
    // reply must not log the user off.
    const auto success = [&root] { return replyFlag(root); };
    switch (request) {
    case RequestId::GetAds:
        if (success() && root["result"].isArray())
            notify(Notify::AdsReply, std::make_unique<JsonPayload>(root["result"]));
        break;
    case RequestId::GetLoginStatus:
        if (!success() || root["open_key"].asString() != user->getOpenKey())
            notify(Notify::LoggedOffElsewhere);
        break;
    case RequestId::GetUserInfo:
        if (success())
            onUserInfo(root);
        else
            notify(Notify::AccountProblem, nullptr, kFailUserInfoText);
        break;
    case RequestId::GetConfig:
        if (success()) {
            const Json::Value& result = root["result"];
            user->setWebBase(result["domain"].asString());
            user->setBindPhone(result["binding_phone"].asBool());
        } else {
            notify(Notify::AccountProblem, nullptr, kFailConfigText);
        }
        break;
    case RequestId::Upgrade:
    case RequestId::UpgradeSilent:
        if (request == RequestId::UpgradeSilent)
            g_updateFailures = 0;
        notify(Notify::UpgradeReply,
               std::make_unique<UpgradeInfo>(root, request == RequestId::UpgradeSilent));
        break;
    default:
        break;
    }
}

void Action::onUserInfo(const Json::Value& root)
{
    User* user = User::current();
    const Json::Value& result = root["result"];
    // Read everything first: a reply of the wrong shape throws before the account is touched.
    const std::string uid = result["uid"].asString();
    const std::string name = result["username"].asString();
    const std::string openKey = result["open_key"].asString();
    const std::string photo = result["photo"].asString();
    user->resetAccount();
    user->setUserId(uid);
    user->setUserName(Utils::wideToAnsi(Utils::utf8ToWide(name)));
    user->setOpenKey(openKey);
    if (!photo.empty())
        user->SendRequestTo(RequestId::DownloadAvatar, shared_from_this(), Network::URL(photo));
    user->SendRequest(RequestId::LoginStatistics, shared_from_this());
    startTimer(kLoginStatusTimer, 10000);
}

void Action::OnRequestError(const std::string& body, int request)
{
    User* user = User::current();
    const auto retryOrGiveUp = [&](std::atomic<int>& failures, int textId) {
        if (failures.load() < kRetries) {
            ++failures;
            if (user)
                user->SendRequest(request, shared_from_this());
        } else {
            failures = 0;
            notify(Notify::AccountProblem, nullptr, textId);
        }
    };
    if (request == RequestId::GetUserInfo)
        retryOrGiveUp(g_userInfoFailures, kFailUserInfoText);
    else if (request == RequestId::GetConfig)
        retryOrGiveUp(g_configFailures, kFailConfigText);
    else if (request == RequestId::UpgradeSilent && user)
        // Retried after every failure, but with a growing pause instead of at once.
        Network::RequestRunner::instance().runAfter(updateRetryDelay(++g_updateFailures),
                                                    user->buildRequestUrl(request),
                                                    shared_from_this(), request);
    CommonWndUserAction::OnRequestError(body, request);
}
