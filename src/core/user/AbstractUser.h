#pragma once
// The process-wide record of the user: the configuration document (mirrored to one JSON file
// after every change), the inputs of service requests, and the installation identity.
// One lock guards the document and the fields, so request threads may read while the UI
// thread writes.

#include "core/app/Glossary.h"

#include <json/value.h>

#include <cstddef>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace Network {
class AbstractAction;
}

class AbstractUser {
public:
    static constexpr const char* kFolderName = "PDF_Splitting_And_merging_Lumo";
    static constexpr const char* kFileName = "korvex_split_and_merge_config.json";
    // The stored history keeps this many of the newest outputs; older ones drop out.
    static constexpr std::size_t kHistoryLimit = 1000;

    virtual ~AbstractUser();

    // The process-wide record (the derived User installs itself); null before it exists.
    static AbstractUser* current();
    static void setCurrent(AbstractUser* user);

    // Builds and sends the numbered service request; the action interprets the reply.
    virtual void SendRequest(int request, std::shared_ptr<Network::AbstractAction> action) = 0;

    void load();
    void save();
    // True when the configuration file exists but could not be read: the program runs on
    // defaults and never writes over the file, so nothing in it is lost.
    bool configurationUnreadable() const;
    std::wstring getConfigFolder() const;
    std::wstring getConfigFile() const;

    std::string getValue(const std::string& key) const;
    void setValue(const std::string& key, const std::string& text);

    std::string getUserId() const;
    std::string getOpenKey() const;
    std::string getUserName() const;
    std::string getNickPhotoPath() const;
    void setUserId(const std::string& value);
    void setOpenKey(const std::string& value);
    void setUserName(const std::string& value);
    void setNickPhotoPath(const std::string& value);
    bool isLoggedIn() const;

    bool getBindPhone() const;
    void setBindPhone(bool value);

    Glossary::Language getLanguage() const;
    void setLanguage(Glossary::Language language);

    std::string getSavePath();
    void setSavePath(const std::string& path);

    bool getHotkeyStatus();
    void setHotkeyStatus(bool enabled);
    std::string getHotkeyValue();
    void setHotkeyValue(const std::string& letter);

    std::vector<std::string> getHistory() const;
    void addHistory(const std::string& path);
    void removeHistory(const std::string& path);
    // Removes the first occurrence of each path (a path named twice, two) in one pass, with at
    // most one write.
    void removeHistoryEntries(const std::vector<std::string>& paths);

    // Forgets the account; keeps output folder, history, hot key, language and bound phone.
    void resetAccount();
    void clearConfiguration();

    // Installation identity gathered at construction.
    std::string getOsVersion() const;
    std::string getMacAddress() const;
    std::string getPackageName() const;
    // Major and minor of the program version; the first call also fills getProgramVersion.
    std::pair<int, int> getFileVersion();
    std::string getProgramVersion() const;

    // Inputs of service requests (not stored in the file).
    std::string getQrGuid() const; void setQrGuid(const std::string& value);
    std::string getPhone() const; void setPhone(const std::string& value);
    std::string getVerifyCode() const; void setVerifyCode(const std::string& value);
    std::string getRegisterEmail() const; void setRegisterEmail(const std::string& value);
    std::string getRegisterPassword() const; void setRegisterPassword(const std::string& value);
    std::string getLoginEmail() const; void setLoginEmail(const std::string& value);
    std::string getLoginPassword() const; void setLoginPassword(const std::string& value);
    std::string getFeedbackKey() const; void setFeedbackKey(const std::string& value);
    std::string getFeedbackValue() const; void setFeedbackValue(const std::string& value);
    std::string getFeedbackContent() const; void setFeedbackContent(const std::string& value);
    std::string getErrorReason() const; void setErrorReason(const std::string& value);
    int getConversionType() const; void setConversionType(int value);

protected:
    // configFolder overrides the folder in the documents folder (tests, portable set-ups).
    explicit AbstractUser(std::optional<std::wstring> configFolder = std::nullopt);

    std::recursive_mutex& mutex() const { return m_mutex; }

private:
    std::string getField(const std::string AbstractUser::*field) const;
    void setField(std::string AbstractUser::*field, const std::string& value);
    void saveLocked();
    void moveAsideCorruptFile();
    void keepNewestHistory();

    mutable std::recursive_mutex m_mutex;
    Json::Value m_document;
    bool m_unreadable = false;
    std::wstring m_configFolder;
    std::wstring m_configFile;

    std::string m_osVersion;
    std::string m_macAddress;
    std::string m_packageName;
    std::pair<int, int> m_fileVersion{0, 0};
    std::string m_programVersion;

    std::string m_qrGuid, m_phone, m_verifyCode, m_registerEmail, m_registerPassword;
    std::string m_loginEmail, m_loginPassword, m_feedbackKey, m_feedbackValue;
    std::string m_feedbackContent, m_errorReason;
    int m_conversionType = 0;
};
