#include "core/crash/KeptCrashReports.h"

#include "core/common/AtomicFile.h"
#include "core/common/JsonObject.h"
#include "core/common/Utils.h"
#include "core/platform/UserFolders.h"
#include "core/user/AbstractUser.h"

#include <json/json.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

KeptCrashReports::KeptCrashReports()
    : KeptCrashReports(Utils::wideToUtf8(Platform::documentsFolder()) + "/" + AbstractUser::kFolderName)
{
}

KeptCrashReports::KeptCrashReports(std::string folder) : m_folder(std::move(folder))
{
    while (m_folder.size() > 1 && m_folder.back() == '/')
        m_folder.pop_back();
}

std::vector<std::string> KeptCrashReports::list() const
{
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(m_folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() > std::char_traits<char>::length(kPrefix) + std::char_traits<char>::length(kSuffix) &&
            name.rfind(kPrefix, 0) == 0 && name.ends_with(kSuffix) && it->is_regular_file(error))
            names.push_back(name);
    }
    // The names start with zero-padded seconds, so their order is the order of the crashes.
    std::sort(names.begin(), names.end());
    std::vector<std::string> paths;
    for (const std::string& name : names)
        paths.push_back(m_folder + "/" + name);
    return paths;
}

std::string KeptCrashReports::keep(const Report& report) const
{
    std::error_code error;
    fs::create_directories(m_folder, error);
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
                             std::chrono::system_clock::now().time_since_epoch()).count();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%012lld-%d", static_cast<long long>(seconds), static_cast<int>(::getpid()));
    std::string path = m_folder + "/" + kPrefix + stamp + kSuffix;
    for (int n = 1; fs::exists(path, error); ++n)
        path = m_folder + "/" + kPrefix + stamp + "-" + std::to_string(n) + kSuffix;
    if (!Utils::writeFileAtomically(Utils::utf8ToWide(path), toText(report)))
        return {};
    std::vector<std::string> kept = list();
    for (std::size_t i = 0; i + kMaxKept < kept.size(); ++i)
        ::unlink(kept[i].c_str());
    return path;
}

bool KeptCrashReports::load(const std::string& path, Report& report)
{
    std::string text;
    return Utils::readWholeFile(Utils::utf8ToWide(path), text) && fromText(text, report);
}

std::string KeptCrashReports::toText(const Report& report)
{
    Json::Value root(Json::objectValue);
    Json::Value fields(Json::objectValue);
    for (const auto& [name, value] : report.fields)
        fields[name] = value;
    root["fields"] = fields;
    root["attachment_name"] = report.attachmentName;
    root["attachment"] = report.attachment;
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    builder["emitUTF8"] = true;
    return Json::writeString(builder, root) + "\n";
}

bool KeptCrashReports::fromText(const std::string& text, Report& report)
{
    Json::Value root;
    if (!Utils::parseJsonObject(text, root, true))
        return false;
    const Json::Value& fields = root["fields"];
    if (!fields.isObject() || fields.empty())
        return false;
    Report parsed;
    for (const std::string& name : fields.getMemberNames()) {
        if (!fields[name].isString())
            return false;
        parsed.fields[name] = fields[name].asString();
    }
    const Json::Value& attachmentName = root["attachment_name"];
    const Json::Value& attachment = root["attachment"];
    if ((!attachmentName.isNull() && !attachmentName.isString()) || (!attachment.isNull() && !attachment.isString()))
        return false;
    parsed.attachmentName = attachmentName.asString();
    parsed.attachment = attachment.asString();
    report = std::move(parsed);
    return true;
}
