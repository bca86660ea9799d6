#include "core/user/User.h"

#include "core/app/InstallSettings.h"
#include "core/common/AtomicFile.h"
#include "core/common/Diagnostics.h"
#include "core/common/UrlEscape.h"
#include "core/common/Utils.h"
#include "core/converter/PrivateTempFolder.h"
#include "core/network/CommonWndUserAction.h"
#include "core/network/RequestRunner.h"
#include "core/platform/OutlivingFolder.h"
#include "core/user/RequestId.h"

#include <map>

namespace {

std::atomic<User*> g_currentUser{nullptr};

} // namespace

User& User::instance()
{
    static User user(std::nullopt, InstallSettings::readDefault().serviceBase());
    return user;
}

User* User::current()
{
    return g_currentUser.load();
}

User::User(std::optional<std::wstring> configFolder, const std::string& serviceBase)
    : AbstractUser(std::move(configFolder)), m_address(ServiceAddress::parse(serviceBase))
{
    // Every request carries the version; known from the start, it is never sent empty.
    getFileVersion();
    AbstractUser::setCurrent(this);
    g_currentUser.store(this);
    // Reports of failures the user cannot fix go to the service from the current record.
    Diagnostics::instance().setReportSink([](const std::string& text) {
        if (User* user = User::current()) {
            user->setErrorReason(text);
            user->SendRequest(RequestId::SetErrorMsg, std::make_shared<CommonWndUserAction>(0));
        }
    });
}

User::~User()
{
    User* self = this;
    g_currentUser.compare_exchange_strong(self, nullptr);
}

void User::SendRequest(int request, std::shared_ptr<Network::AbstractAction> action)
{
    Network::RequestRunner::instance().run(buildRequestUrl(request), std::move(action), request, true,
                                           transferLimits(request));
}

void User::SendRequestTo(int request, std::shared_ptr<Network::AbstractAction> action,
                         const Network::URL& target, std::uint64_t announcedSize)
{
    if (request < 25 || request > 29)
        return;
    Network::RequestRunner::instance().run(target, std::move(action), request, true,
                                           transferLimits(request, announcedSize));
}

Network::TransferLimits User::transferLimits(int request, std::uint64_t announcedSize)
{
    switch (request) {
    case RequestId::DownloadUpdater:
        return Network::TransferLimits::download(announcedSize);
    case RequestId::DownloadAdImage:
    case RequestId::DownloadAvatar:
    case RequestId::DownloadQrImage:
        return Network::TransferLimits::picture();
    default:
        return Network::TransferLimits::reply();
    }
}

Network::URL User::buildRequestUrl(int request) const
{
    std::map<std::string, std::string> p{{"token", kApiKey}, {"soft_type", "12"}};
    const auto call = [&](const char* type, const char* cls) {
        p["type"] = type;
        p["class"] = cls;
    };
    const std::string userId = getUserId();
    // Which copy of the program asks, and (for the sign-ins) which package it is.
    const auto installation = [&] {
        p["version"] = getProgramVersion();
        p["mac_id"] = getMacAddress();
    };
    const auto package = [&] {
        p["packagename"] = getPackageName();
        installation();
    };
    switch (request) {
    case RequestId::GetAds:
        call("GetAds", "Advertisement");
        p["img_type"] = "1";
        break;
    case RequestId::GetCode:
        call("GetCode", "WeChat");
        break;
    case RequestId::Polling:
        call("Polling", "WeChat");
        p["guid"] = getQrGuid();
        package();
        break;
    case RequestId::GetLoginStatus:
        call("GetLoginStatus", "WeChat");
        p["user_id"] = userId;
        break;
    case RequestId::GetUserInfo:
        call("GetUserInfo", "WeChat");
        p["user_id"] = userId;
        break;
    case RequestId::GetConfig:
        call("GetConfig", "System");
        break;
    case RequestId::Feedback:
        call("Feedback", "System");
        p["user_id"] = userId;
        p["win_type"] = getOsVersion();
        p["key"] = getFeedbackKey();
        p["value"] = getFeedbackValue();
        p["content"] = getFeedbackContent();
        installation();
        break;
    case RequestId::LoginStatistics:
    case RequestId::OpenStatistics:
    case RequestId::ConvertStatistics:
        call(request == RequestId::LoginStatistics  ? "LoginStatistics"
             : request == RequestId::OpenStatistics ? "OpenStatistics"
                                                    : "ConvertStatistics",
             "System");
        p["user_id"] = userId;
        installation();
        if (request == RequestId::ConvertStatistics)
            p["convert_type"] = std::to_string(getConversionType());
        break;
    case RequestId::GetSmsCode:
        call("getMsm", "Sms");
        p["phone"] = getPhone();
        break;
    case RequestId::CheckSmsCodeLogin:
    case RequestId::CheckSmsCodeBind:
        call("checkCode", "Sms");
        p["phone"] = getPhone();
        p["code"] = getVerifyCode();
        // Binding names the account the phone goes to; signing in with the phone names none.
        if (request == RequestId::CheckSmsCodeBind)
            p["user_id"] = userId;
        else
            package();
        break;
    case RequestId::GotoClause:
        call("Goto", "System");
        p["key"] = "clause";
        break;
    case RequestId::SetErrorMsg:
        call("SetErrorMsg", "System");
        // The report holds paths, spaces and "||"; escaped so that it survives as one value.
        p["reason"] = Utils::urlEscape(getErrorReason());
        p["version"] = getProgramVersion();
        p["uid"] = userId.empty() ? "0" : userId;
        break;
    case RequestId::UserRegister:
        call("UserRegister", "System");
        p["user_name"] = getRegisterEmail();
        p["password"] = getRegisterPassword();
        package();
        break;
    case RequestId::UserLogin:
        call("UserLogin", "System");
        p["user_name"] = getLoginEmail();
        p["password"] = getLoginPassword();
        break;
    case RequestId::Upgrade:
    case RequestId::UpgradeSilent:
        call("Upgrade", "System");
        p["necessary"] = "true";
        installation();
        break;
    default:
        return Network::URL(m_address.host(), m_address.prefix() + kApiPath, {}, m_address.scheme());
    }
    return Network::URL(m_address.host(), m_address.prefix() + kApiPath, p, m_address.scheme());
}

std::string User::adClickUrl(const std::string& key) const
{
    if (key.empty())
        return {};
    const std::map<std::string, std::string> p{{"class", "Advertisement"}, {"type", "GotoAds"},
                                               {"token", kApiKey}, {"soft_type", "12"},
                                               {"img_key", key}};
    return Network::URL(m_address.host(), m_address.prefix() + kApiPath, p, m_address.scheme()).getUrl();
}

void User::setFeedbackFields(const std::string& key, const std::string& value,
                             const std::string& content)
{
    setFeedbackKey(Utils::urlEscape(key));
    setFeedbackValue(Utils::urlEscape(value));
    setFeedbackContent(Utils::urlEscape(content));
}

std::wstring User::runFolder()
{
    const std::wstring folder = Converter::PrivateTempFolder::instance().folder();
    return folder.empty() ? folder : Utils::withTrailingSeparator(folder);
}

std::wstring User::updaterFolder()
{
    const std::wstring folder = Platform::OutlivingFolder::instance().folder();
    return folder.empty() ? folder : Utils::withTrailingSeparator(folder);
}

std::wstring User::saveReplyFile(ReplyFileKind kind, const std::string& body, const std::string& link)
{
    std::wstring path;
    switch (kind) {
    case ReplyFileKind::QrImage:
        path = runFolder() + L"korvex_qrpaycode_" + std::to_wstring(m_qrCounter.fetch_add(1)) + L".png";
        break;
    case ReplyFileKind::AdvertisementImage: {
        std::string name = link.substr(link.rfind('/') + 1);
        name = name.substr(0, name.find_first_of("?#"));
        if (name.empty() || name == "." || name == "..")
            return {};
        // A folder of their own: a name the service chooses can never replace the
        // configuration file or the avatar.
        const std::wstring folder = getConfigFolder() + Utils::kPathSeparator + L"ads";
        Utils::createDeepDirectory(folder);
        path = folder + Utils::kPathSeparator + Utils::utf8ToWide(name);
        m_ads.setLocalPath(link, path);
        break;
    }
    case ReplyFileKind::Avatar:
        path = getConfigFolder() + Utils::kPathSeparator + L"nickphoto.png";
        break;
    }
    Utils::writeFileAtomically(path, body); // write failures are not reported
    return path;
}

void User::downloadAdvertisements(std::shared_ptr<Network::AbstractAction> action)
{
    for (const Advertisement& ad : m_ads.all())
        SendRequestTo(RequestId::DownloadAdImage, action, Network::URL(ad.imgUrl));
}

std::string User::getWebBase() const
{
    std::lock_guard lock(mutex());
    return m_webBase;
}

void User::setWebBase(const std::string& base)
{
    std::lock_guard lock(mutex());
    m_webBase = base;
}
