#pragma once
// Service settings that tests and developers change at run time and that survive a restart
// (whether accounts must bind a phone, whether sign-ups are told to confirm their e-mail).

#include <string>

class Database;

class SettingsStore {
public:
    explicit SettingsStore(Database& db) : m_db(db) {}

    std::string get(const std::string& name, const std::string& fallback = {});
    void set(const std::string& name, const std::string& value);
    bool flag(const std::string& name);
    void setFlag(const std::string& name, bool on);

private:
    Database& m_db;
};
