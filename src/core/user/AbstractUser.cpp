#include "core/user/AbstractUser.h"

#include "core/app/InstallationIdentity.h"
#include "core/app/TextTable.h"
#include "core/common/AtomicFile.h"
#include "core/common/Utils.h"
#include "core/platform/DebugLog.h"
#include "core/platform/UserFolders.h"
#include "core/user/StoredText.h"

#include <json/json.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <unordered_map>

namespace {

// The keys of the record, as the file has them.
constexpr const char *kUserId = "m_userid", *kOpenKey = "m_openkey", *kUserName = "m_username",
                     *kNickPhoto = "m_nickphotoPathname", *kBindPhone = "m_bindphone",
                     *kLanguage = "m_language", *kSavePath = "m_savepath", *kHistory = "m_history",
                     *kHotkeyStatus = "m_hotkeyStatus", *kHotkeyValue = "m_hotkeyValue";

// The stored language values (the English one spelt as the file has it).
constexpr const char *kEnglishText = "Glossary::Language::ENGLSH", *kChineseText = "Glossary::Language::CHINESE",
                     *kDefaultText = "Glossary::Language::DEFAULT";

// Compact, keys in ascending order, one line feed at the end.
std::string compactText(const Json::Value& value)
{
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    Json::FastWriter writer;
    return writer.write(value);
#pragma GCC diagnostic pop
}

// True for a document this program can use: strict JSON whose root is an object. Anything
// else (an array root included) would be replaced by the first change, so it is refused.
bool parseStrict(const std::string& bytes, Json::Value& root)
{
    Json::CharReaderBuilder builder;
    Json::CharReaderBuilder::strictMode(&builder.settings_);
    builder.settings_["rejectDupKeys"] = false;
    std::string errors;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    try {
        return reader->parse(bytes.data(), bytes.data() + bytes.size(), &root, &errors) &&
               root.isObject();
    } catch (const std::exception&) {
        return false; // nesting deeper than the reader's limit
    }
}

// The language as the glossary numbers it: anything but English shows Chinese.
int glossaryLanguageOf(Glossary::Language language)
{
    return language == Glossary::ENGLSH ? Glossary::ENGLSH : Glossary::CHINESE;
}

const char* languageText(Glossary::Language language)
{
    return language == Glossary::ENGLSH    ? kEnglishText
           : language == Glossary::CHINESE ? kChineseText
                                           : kDefaultText;
}

} // namespace

AbstractUser::AbstractUser(std::optional<std::wstring> configFolder)
{
    if (configFolder) {
        m_configFolder = *configFolder;
        while (m_configFolder.size() > 1 && m_configFolder.back() == Utils::kPathSeparator)
            m_configFolder.pop_back();
    } else {
        m_configFolder = Platform::documentsFolder() + Utils::kPathSeparator +
                         Utils::utf8ToWide(kFolderName);
    }
    m_configFile = m_configFolder + Utils::kPathSeparator + Utils::utf8ToWide(kFileName);

    load();
    m_osVersion = InstallationIdentity::osVersionText();
    m_macAddress = InstallationIdentity::macAddressText();
    const Glossary::Language language = getLanguage();
    Glossary::TextTable::instance();
    Glossary::setCurrentLanguage(glossaryLanguageOf(language));
    m_packageName = InstallationIdentity::readPackageName();
}

AbstractUser::~AbstractUser()
{
    if (current() == this)
        setCurrent(nullptr);
}

namespace {
std::atomic<AbstractUser*> g_currentUser{nullptr};
}

AbstractUser* AbstractUser::current()
{
    return g_currentUser.load();
}

void AbstractUser::setCurrent(AbstractUser* user)
{
    g_currentUser.store(user);
}

std::wstring AbstractUser::getConfigFolder() const
{
    return m_configFolder;
}

std::wstring AbstractUser::getConfigFile() const
{
    return m_configFile;
}

void AbstractUser::load()
{
    std::lock_guard lock(m_mutex);
    Utils::createDeepDirectory(m_configFolder);
    // Copies left by a write that was killed half-way hold the account key; the file itself is
    // always whole, so they are of no use.
    Utils::removeStaleTemporaries(m_configFile);
    std::string bytes;
    int error = 0;
    const Utils::ReadStatus status = Utils::readExistingFile(m_configFile, bytes, &error);
    if (status == Utils::ReadStatus::Unreadable) {
        m_unreadable = true;
        m_document = Json::Value();
        std::fprintf(stderr,
                     "korvex: cannot read the configuration file %s (%s); running on defaults, "
                     "changes will not be saved over it\n",
                     Utils::wideToUtf8(m_configFile).c_str(), std::strerror(error));
        return;
    }
    if (status == Utils::ReadStatus::NotRegular || status == Utils::ReadStatus::TooLarge) {
        // A FIFO, a device or a file far too long for a configuration: never read, set aside
        // by name (a link moves, not what it names) so that the next write makes a real file.
        std::fprintf(stderr, "korvex: the configuration file %s is %s; set aside, running on defaults\n",
                     Utils::wideToUtf8(m_configFile).c_str(),
                     status == Utils::ReadStatus::TooLarge ? "too large" : "not a regular file");
        moveAsideCorruptFile();
        m_document = Json::Value();
        return;
    }
    if (status == Utils::ReadStatus::Missing || bytes.empty())
        return;
    Json::Value root;
    if (parseStrict(bytes, root)) {
        StoredText::encodeInvalidStrings(root);
        m_document = root;
        keepNewestHistory();
        saveLocked();
    } else {
        // Keep what the user had instead of emptying it; the program starts empty.
        moveAsideCorruptFile();
        m_document = Json::Value();
    }
}

bool AbstractUser::configurationUnreadable() const
{
    std::lock_guard lock(m_mutex);
    return m_unreadable;
}

void AbstractUser::moveAsideCorruptFile()
{
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm tm {};
    ::localtime_r(&now, &tm);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &tm);
    const std::wstring base = m_configFile + L".corrupt-" + Utils::utf8ToWide(stamp);
    std::wstring backup = base;
    for (int n = 1; Utils::pathExists(backup); ++n)
        backup = base + L"-" + std::to_wstring(n);
    if (std::rename(Utils::wideToUtf8(m_configFile).c_str(), Utils::wideToUtf8(backup).c_str()) != 0)
        Platform::debugLog("cannot move aside the unreadable configuration file\n");
}

void AbstractUser::save()
{
    std::lock_guard lock(m_mutex);
    saveLocked();
}

void AbstractUser::saveLocked()
{
    if (m_document.isNull() || m_unreadable)
        return;
    const std::string text = compactText(m_document);
    if (!text.empty())
        Utils::writeFileAtomically(m_configFile, text); // unwritable: changes stay in memory
}

std::string AbstractUser::getValue(const std::string& key) const
{
    std::lock_guard lock(m_mutex);
    if (!m_document.isObject() || !m_document.isMember(key))
        return {};
    const Json::Value& value = m_document[key];
    if (value.isNull())
        return {};
    if (const std::optional<std::string> text = StoredText::decode(value))
        return *text;
    try {
        return value.asString();
    } catch (const Json::Exception&) {
        return {}; // arrays and objects have no text form
    }
}

void AbstractUser::setValue(const std::string& key, const std::string& text)
{
    std::lock_guard lock(m_mutex);
    if (!m_document.isObject())
        m_document = Json::Value(Json::objectValue);
    m_document[key] = StoredText::encode(text);
    saveLocked();
}

std::string AbstractUser::getUserId() const { return getValue(kUserId); }
std::string AbstractUser::getOpenKey() const { return getValue(kOpenKey); }
std::string AbstractUser::getUserName() const { return getValue(kUserName); }
std::string AbstractUser::getNickPhotoPath() const { return getValue(kNickPhoto); }

void AbstractUser::setUserId(const std::string& value)
{
    setValue(kUserId, value);
    Platform::debugLog("userId " + value + "\n");
}

void AbstractUser::setOpenKey(const std::string& value) { setValue(kOpenKey, value); }
void AbstractUser::setUserName(const std::string& value) { setValue(kUserName, value); }
void AbstractUser::setNickPhotoPath(const std::string& value) { setValue(kNickPhoto, value); }

bool AbstractUser::isLoggedIn() const
{
    return !getOpenKey().empty();
}

bool AbstractUser::getBindPhone() const
{
    return getValue(kBindPhone) == "true";
}

void AbstractUser::setBindPhone(bool value)
{
    setValue(kBindPhone, value ? "true" : "false");
}

Glossary::Language AbstractUser::getLanguage() const
{
    const std::string text = getValue(kLanguage);
    if (text == kEnglishText)
        return Glossary::ENGLSH;
    if (text == kChineseText)
        return Glossary::CHINESE;
    return Glossary::DEFAULT;
}

void AbstractUser::setLanguage(Glossary::Language language)
{
    setValue(kLanguage, languageText(language));
    // DEFAULT has no texts of its own; it shows Chinese, as at start-up.
    Glossary::setCurrentLanguage(glossaryLanguageOf(language));
}

std::string AbstractUser::getSavePath()
{
    std::lock_guard lock(m_mutex);
    std::string path = getValue(kSavePath);
    if (path.empty()) {
        const std::wstring folder = m_configFolder + Utils::kPathSeparator + L"file";
        Utils::createDeepDirectory(folder);
        path = Utils::wideToAnsi(folder);
        setSavePath(path);
    } else if (!Utils::pathExists(Utils::ansiToWide(path))) {
        Utils::createDeepDirectory(Utils::ansiToWide(path));
    }
    return path;
}

void AbstractUser::setSavePath(const std::string& path) { setValue(kSavePath, path); }

bool AbstractUser::getHotkeyStatus()
{
    std::lock_guard lock(m_mutex);
    if (getValue(kHotkeyStatus).empty())
        setHotkeyStatus(true);
    return getValue(kHotkeyStatus) == "true";
}

void AbstractUser::setHotkeyStatus(bool enabled)
{
    setValue(kHotkeyStatus, enabled ? "true" : "false");
}

std::string AbstractUser::getHotkeyValue()
{
    std::lock_guard lock(m_mutex);
    if (getValue(kHotkeyValue).empty())
        setHotkeyValue("c");
    return getValue(kHotkeyValue);
}

void AbstractUser::setHotkeyValue(const std::string& letter) { setValue(kHotkeyValue, letter); }

std::vector<std::string> AbstractUser::getHistory() const
{
    std::lock_guard lock(m_mutex);
    std::vector<std::string> history;
    if (!m_document.isObject() || !m_document[kHistory].isArray())
        return history;
    for (const Json::Value& entry : m_document[kHistory]) {
        if (const std::optional<std::string> path = StoredText::decode(entry))
            history.push_back(*path);
    }
    return history;
}

void AbstractUser::addHistory(const std::string& path)
{
    std::lock_guard lock(m_mutex);
    if (!m_document.isObject())
        m_document = Json::Value(Json::objectValue);
    Json::Value& history = m_document[kHistory];
    if (!history.isArray())
        history = Json::Value(Json::arrayValue);
    history.append(StoredText::encode(path));
    keepNewestHistory();
    saveLocked();
}

void AbstractUser::removeHistory(const std::string& path)
{
    removeHistoryEntries({path});
}

void AbstractUser::removeHistoryEntries(const std::vector<std::string>& paths)
{
    std::lock_guard lock(m_mutex);
    if (paths.empty() || !m_document.isObject() || !m_document[kHistory].isArray())
        return;
    // How many occurrences of each path go: each named path takes its first one.
    std::unordered_map<std::string, std::size_t> toRemove;
    for (const std::string& path : paths)
        ++toRemove[path];
    const Json::Value& history = m_document[kHistory];
    Json::Value kept(Json::arrayValue);
    bool removed = false;
    for (const Json::Value& entry : history) {
        const std::optional<std::string> path = StoredText::decode(entry);
        if (path) {
            const auto found = toRemove.find(*path);
            if (found != toRemove.end() && found->second > 0) {
                --found->second;
                removed = true;
                continue;
            }
        }
        kept.append(entry);
    }
    if (!removed)
        return;
    m_document[kHistory] = kept;
    saveLocked();
}

void AbstractUser::keepNewestHistory()
{
    if (!m_document.isObject() || !m_document.isMember(kHistory) || !m_document[kHistory].isArray())
        return;
    const Json::Value& history = m_document[kHistory];
    if (history.size() <= kHistoryLimit)
        return;
    Json::Value kept(Json::arrayValue);
    for (Json::ArrayIndex i = history.size() - kHistoryLimit; i < history.size(); ++i)
        kept.append(history[i]);
    m_document[kHistory] = kept;
}

void AbstractUser::resetAccount()
{
    std::lock_guard lock(m_mutex);
    const std::string savePath = getSavePath();
    const std::vector<std::string> history = getHistory();
    const bool hotkeyStatus = getHotkeyStatus();
    const std::string hotkeyValue = getHotkeyValue();
    const Glossary::Language language = getLanguage();
    const bool bindPhone = getBindPhone();

    // The kept values are put back in memory only; the file is written once by the caller's
    // next save, so it never holds a half-reset document.
    m_document = Json::Value(Json::objectValue);
    try {
        m_document[kLanguage] = languageText(language);
        Glossary::setCurrentLanguage(glossaryLanguageOf(language));
        m_document[kSavePath] = StoredText::encode(savePath);
        for (const std::string& entry : history)
            m_document[kHistory].append(StoredText::encode(entry));
        m_document[kHotkeyStatus] = hotkeyStatus ? "true" : "false";
        m_document[kHotkeyValue] = hotkeyValue;
        m_document[kBindPhone] = bindPhone;
    } catch (const Json::Exception&) {
        // The document stays as far as it got.
    }
}

void AbstractUser::clearConfiguration()
{
    std::lock_guard lock(m_mutex);
    resetAccount();
    saveLocked();
}

std::string AbstractUser::getOsVersion() const { return getField(&AbstractUser::m_osVersion); }
std::string AbstractUser::getMacAddress() const { return getField(&AbstractUser::m_macAddress); }
std::string AbstractUser::getPackageName() const { return getField(&AbstractUser::m_packageName); }

std::pair<int, int> AbstractUser::getFileVersion()
{
    std::lock_guard lock(m_mutex);
    if (m_fileVersion.first == 0 && m_fileVersion.second == 0) {
        const InstallationIdentity::FileVersion version = InstallationIdentity::getFileVersion();
        m_fileVersion = {version.major, version.minor};
        m_programVersion = version.text;
    }
    return m_fileVersion;
}

std::string AbstractUser::getProgramVersion() const
{
    return getField(&AbstractUser::m_programVersion);
}

std::string AbstractUser::getField(const std::string AbstractUser::*field) const
{
    std::lock_guard lock(m_mutex);
    return this->*field;
}

void AbstractUser::setField(std::string AbstractUser::*field, const std::string& value)
{
    std::lock_guard lock(m_mutex);
    this->*field = value;
}

#define KORVEX_REQUEST_FIELD(Name, member)                                                        \
    std::string AbstractUser::get##Name() const { return getField(&AbstractUser::member); }       \
    void AbstractUser::set##Name(const std::string& value) { setField(&AbstractUser::member, value); }

KORVEX_REQUEST_FIELD(QrGuid, m_qrGuid)
KORVEX_REQUEST_FIELD(Phone, m_phone)
KORVEX_REQUEST_FIELD(VerifyCode, m_verifyCode)
KORVEX_REQUEST_FIELD(RegisterEmail, m_registerEmail)
KORVEX_REQUEST_FIELD(RegisterPassword, m_registerPassword)
KORVEX_REQUEST_FIELD(LoginEmail, m_loginEmail)
KORVEX_REQUEST_FIELD(LoginPassword, m_loginPassword)
KORVEX_REQUEST_FIELD(FeedbackKey, m_feedbackKey)
KORVEX_REQUEST_FIELD(FeedbackValue, m_feedbackValue)
KORVEX_REQUEST_FIELD(FeedbackContent, m_feedbackContent)
KORVEX_REQUEST_FIELD(ErrorReason, m_errorReason)

#undef KORVEX_REQUEST_FIELD

int AbstractUser::getConversionType() const
{
    std::lock_guard lock(m_mutex);
    return m_conversionType;
}

void AbstractUser::setConversionType(int value)
{
    std::lock_guard lock(m_mutex);
    m_conversionType = value;
}
