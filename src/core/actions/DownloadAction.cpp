#include "core/actions/DownloadAction.h"

#include "core/network/NotifyPayload.h"
#include "core/common/Sha256.h"
#include "core/common/Utils.h"
#include "core/message/WindowMessages.h"
#include "core/platform/DebugLog.h"
#include "core/platform/DetachedProcess.h"
#include "core/user/RequestId.h"
#include "core/user/ServiceAddress.h"
#include "core/user/User.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace WindowMessages;

// Written on the UI thread, read on the transfer's thread.
std::atomic<bool> g_cancelled{false};

// What a double says about a size, clamped into the range of the integer it is carried in.
template <class T> T clampedSize(double value)
{
    if (!(value > 0))
        return 0;
    const double limit = static_cast<double>(std::numeric_limits<T>::max());
    return static_cast<T>(std::min(value, limit));
}

} // namespace

DownloadAction::DownloadAction(WindowHandle window, std::string expectedSha256)
    : CommonWndUserAction(window), m_expectedSha256(std::move(expectedSha256))
{
}

void DownloadAction::setCancelled(bool cancelled)
{
    g_cancelled = cancelled;
}

bool DownloadAction::cancelled()
{
    return g_cancelled;
}

bool DownloadAction::isAllowedLink(const std::string& link)
{
    const std::size_t sep = link.find("://");
    if (sep == std::string::npos)
        return false;
    std::string scheme = link.substr(0, sep);
    std::transform(scheme.begin(), scheme.end(), scheme.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const std::string authority = link.substr(sep + 3, link.find_first_of("/?#", sep + 3) - (sep + 3));
    // No user part: "http://127.0.0.1@elsewhere/" goes elsewhere.
    if (authority.empty() || authority.find('@') != std::string::npos)
        return false;
    if (scheme == "https")
        return true;
    return scheme == "http" && ServiceAddress::isLoopbackHost(authority);
}

int DownloadAction::OnProgress(double, double downloadTotal, double downloaded, double, double)
{
    MessageSink::current().post(m_window, WM_DOWNLOAD_PROGRESS, clampedSize<std::uint32_t>(downloadTotal),
                                std::make_unique<NotifyNumber>(clampedSize<std::int32_t>(downloaded)));
    return g_cancelled ? 1 : 0;
}

void DownloadAction::OnReply(Network::Reply& reply)
{
    if (reply.requestId != RequestId::DownloadUpdater)
        return;
    // A download that completed just as the user stopped it is not installed either.
    if (reply.succeeded && !g_cancelled) {
        if (installAndStart(reply.body, reply.url.getUrl())) {
            notify(Notify::UpdaterStarted);
            return;
        }
        fail();
    } else if (!reply.succeeded && reply.body != "42") {
        fail();
    }
    MessageSink::current().post(m_window, WM_CLOSE, 0, nullptr);
}

void DownloadAction::fail()
{
    notify(Notify::DownloadFinished);
}

bool DownloadAction::installAndStart(const std::string& body, const std::string& link)
{
    // Nothing unchecked is ever written: a wrong or missing digest stops here.
    if (!Utils::sha256Matches(body, m_expectedSha256)) {
        Platform::debugLog("updater refused: its digest does not match the offer\n");
        return false;
    }
    User* user = User::current();
    // Only ever into a folder of this user's own, never a relative path.
    if (!user || user->updaterFolder().empty())
        return false;
    const std::wstring path = user->saveReplyFile(User::ReplyFileKind::UpdaterProgram, body, link);
    const std::string file = Utils::wideToUtf8(path);
    std::error_code ec;
    const bool written = !path.empty() && std::filesystem::file_size(file, ec) == body.size() && !ec;
    // Executable only now that it is known to be the program the service offered.
    if (written && ::chmod(file.c_str(), 0700) == 0 &&
        Platform::startDetached({file, Utils::wideToUtf8(Utils::getModuleDirectory())}))
        return true;
    if (!path.empty())
        std::filesystem::remove(file, ec);
    return false;
}
