#include "core/app/InstallSettings.h"

#include "core/common/AtomicFile.h"
#include "core/common/JsonObject.h"
#include "core/common/Utils.h"

#include <json/json.h>
#include <memory>

InstallSettings InstallSettings::readFrom(const std::wstring& folder)
{
    InstallSettings settings;
    std::string bytes;
    if (folder.empty() || !Utils::readWholeFile(folder + Utils::utf8ToWide(kFileName), bytes))
        return settings;
    Json::Value root;
    if (!Utils::parseJsonObject(bytes, root))
        return settings;
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
