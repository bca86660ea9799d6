#include "core/app/InstallSettings.h"

#include "core/common/AtomicFile.h"
#include "core/common/Utils.h"

#include <json/json.h>
#include <memory>

InstallSettings InstallSettings::readFrom(const std::wstring& folder)
{
    InstallSettings settings;
    std::string bytes;
    if (folder.empty() || !Utils::readWholeFile(folder + Utils::utf8ToWide(kFileName), bytes))
        return settings;
    Json::CharReaderBuilder builder;
    Json::Value root;
    std::string errors;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    try {
        if (!reader->parse(bytes.data(), bytes.data() + bytes.size(), &root, &errors) || !root.isObject())
            return settings;
    } catch (const Json::Exception&) {
        return settings; // nested too deep to read
    }
    if (root["PackageName"].isString())
        settings.m_packageName = Utils::utf8ToWide(root["PackageName"].asString());
    if (root["ServiceBase"].isString())
        settings.m_serviceBase = root["ServiceBase"].asString();
    if (root["HelpPage"].isString())
        settings.m_helpPage = root["HelpPage"].asString();
    if (root["AboutPage"].isString())
        settings.m_aboutPage = root["AboutPage"].asString();
    return settings;
}

InstallSettings InstallSettings::readDefault()
{
    return readFrom(Utils::getModuleDirectory());
}
