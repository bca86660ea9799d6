#include "core/app/InstallationIdentity.h"

#include "core/app/InstallSettings.h"
#include "core/common/UrlEscape.h"
#include "core/common/Utils.h"
#include "core/platform/DebugLog.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/utsname.h>

namespace InstallationIdentity {

std::string escapePackageName(const std::wstring& name)
{
    return Utils::urlEscape(Utils::wideToUtf8(name));
}

std::string readPackageName()
{
    const std::string name = escapePackageName(InstallSettings::readDefault().packageName());
    Platform::debugLog("packageName " + name + "\n");
    return name;
}

FileVersion getFileVersion()
{
    FileVersion version;
    version.major = KORVEX_VERSION_MAJOR;
    version.minor = KORVEX_VERSION_MINOR;
    version.text = std::to_string(KORVEX_VERSION_MAJOR) + "." +
                   std::to_string(KORVEX_VERSION_MINOR) + "." +
                   std::to_string(KORVEX_VERSION_PATCH + 0) + "." +
                   std::to_string(KORVEX_VERSION_TWEAK + 0);
    return version;
}

std::string osVersionText()
{
    utsname info {};
    int major = 0, minor = 0;
    if (::uname(&info) == 0)
        std::sscanf(info.release, "%d.%d", &major, &minor);
    char buffer[20];
    std::snprintf(buffer, sizeof buffer, "%d.%d", major, minor);
    return buffer;
}

bool getMacAddress(std::string& out)
{
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) {
        std::printf("Call to GetAdaptersAddresses failed with error: %d\n", errno);
        return false;
    }
    // Interfaces in the order the system lists their IPv4 addresses; the hardware address
    // comes from the same interface's packet entry.
    for (const ifaddrs* inet = list; inet; inet = inet->ifa_next) {
        if (!inet->ifa_addr || inet->ifa_addr->sa_family != AF_INET)
            continue;
        for (const ifaddrs* link = list; link; link = link->ifa_next) {
            if (!link->ifa_addr || link->ifa_addr->sa_family != AF_PACKET ||
                std::strcmp(link->ifa_name, inet->ifa_name) != 0)
                continue;
            const auto* ll = reinterpret_cast<const sockaddr_ll*>(link->ifa_addr);
            bool nonZero = false;
            for (int i = 0; i < ll->sll_halen; ++i)
                nonZero = nonZero || ll->sll_addr[i] != 0;
            if (!nonZero)
                continue;
            for (int i = 0; i < ll->sll_halen; ++i) {
                char hex[4];
                std::snprintf(hex, sizeof hex, "%.2X", ll->sll_addr[i]);
                out += hex;
                if (i + 1 < ll->sll_halen)
                    out += "-";
            }
            ::freeifaddrs(list);
            return true;
        }
    }
    ::freeifaddrs(list);
    return true;
}

std::string macAddressText()
{
    std::string address;
    if (!getMacAddress(address) || address.empty())
        return "empty";
    return address;
}

} // namespace InstallationIdentity
