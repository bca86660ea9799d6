#include "core/platform/UserFolders.h"

#include "core/common/Utils.h"

#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <unistd.h>

namespace Platform {

namespace {

std::string envOrEmpty(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Reads XDG_DOCUMENTS_DIR="$HOME/..." from user-dirs.dirs; empty when absent.
std::string xdgDocumentsDir(const std::string& home)
{
    std::string configHome = envOrEmpty("XDG_CONFIG_HOME");
    if (configHome.empty())
        configHome = home + "/.config";
    std::ifstream in(configHome + "/user-dirs.dirs");
    std::string line;
    const std::string key = "XDG_DOCUMENTS_DIR=";
    while (std::getline(in, line)) {
        if (line.rfind(key, 0) != 0)
            continue;
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.rfind("$HOME", 0) == 0)
            value = home + value.substr(5);
        // A documents folder equal to home means "not set" by convention.
        if (value.empty() || value == home || value == home + "/" || value[0] != '/')
            return {};
        return value;
    }
    return {};
}

} // namespace

std::wstring homeFolder()
{
    std::string home = envOrEmpty("HOME");
    if (home.empty()) {
        if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
            home = pw->pw_dir;
    }
    if (home.empty())
        home = "/tmp";
    while (home.size() > 1 && home.back() == '/')
        home.pop_back();
    return Utils::utf8ToWide(home);
}

std::wstring documentsFolder()
{
    const std::string home = Utils::wideToUtf8(homeFolder());
    std::string docs = xdgDocumentsDir(home);
    if (docs.empty())
        docs = home + "/Documents";
    while (docs.size() > 1 && docs.back() == '/')
        docs.pop_back();
    return Utils::utf8ToWide(docs);
}

} // namespace Platform
