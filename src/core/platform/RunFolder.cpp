#include "platform/RunFolder.h"

#include "common/Utils.h"

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <unistd.h>

namespace Platform {

namespace {
std::mutex g_mutex;
std::string g_folder;
bool g_atexitInstalled = false;
} // namespace

std::wstring runFolder()
{
    std::lock_guard lock(g_mutex);
    if (g_folder.empty()) {
        std::error_code ec;
        const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
        std::string pattern = (ec ? std::filesystem::path("/tmp") : base).string() + "/korvex-" +
                              std::to_string(::getuid()) + "-XXXXXX";
        if (!::mkdtemp(pattern.data())) // mkdtemp makes it 0700
            return {};
        g_folder = pattern;
        if (!g_atexitInstalled) {
            g_atexitInstalled = true;
            std::atexit(removeRunFolder);
        }
    }
    return Utils::withTrailingSeparator(Utils::utf8ToWide(g_folder));
}

void removeRunFolder()
{
    std::lock_guard lock(g_mutex);
    if (g_folder.empty())
        return;
    std::error_code ec;
    std::filesystem::remove_all(g_folder, ec);
    g_folder.clear();
}

} // namespace Platform
