#include "core/actions/DownloadAction.h"

#include "core/common/Utils.h"
#include "core/message/WindowMessages.h"
#include "core/network/NotifyPayload.h"
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

UpdaterFile* DownloadAction::file()
{
    if (!m_file) {
        User* user = User::current();
        // Only ever into a folder of this user's own that outlives the run (the updater starts
        // as the program quits), never a relative path.
        if (!user || user->updaterFolder().empty())
            return nullptr;
        m_file = std::make_unique<UpdaterFile>(Utils::wideToUtf8(user->updaterFolder()));
    }
    return m_file.get();
}

bool DownloadAction::OnBodyData(const char* data, std::size_t size)
{
    UpdaterFile* target = file();
    return target && target->append(data, size);
}

void DownloadAction::OnReply(Network::Reply& reply)
{
    if (reply.requestId != RequestId::DownloadUpdater)
        return;
    // A download that completed just as the user stopped it is not installed either.
    if (reply.succeeded && !g_cancelled) {
        if (installAndStart()) {
            notify(Notify::UpdaterStarted);
            return;
        }
        fail();
    } else if (!reply.succeeded && reply.body != "42") {
        fail();
    }
    // Cancelled, failed, too long or refused: nothing of it stays on the disk.
    m_file.reset();
    MessageSink::current().post(m_window, WM_CLOSE, 0, nullptr);
}

void DownloadAction::fail()
{
    notify(Notify::DownloadFinished);
}

bool DownloadAction::installAndStart()
{
    UpdaterFile* download = file();
    if (!download)
        return false;
    // Nothing unchecked ever carries the updater's name: a wrong or missing digest stops here.
    const std::string path = download->commit(m_expectedSha256);
    m_file.reset();
    if (path.empty()) {
        Platform::debugLog("updater refused: not the program the offer named, or it could not be placed\n");
        return false;
    }
    if (Platform::startDetached({path, Utils::wideToUtf8(Utils::getModuleDirectory())}))
        return true;
    std::error_code ec;
    std::filesystem::remove(path, ec);
    return false;
}
