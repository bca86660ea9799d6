#include "SettingsStore.h"

#include "Database.h"

std::string SettingsStore::get(const std::string& name, const std::string& fallback)
{
    auto guard = m_db.lock();
    auto st = m_db.prepare("SELECT value FROM settings WHERE name = ?1");
    st.bind(1, name);
    return st.step() ? st.text(0) : fallback;
}

void SettingsStore::set(const std::string& name, const std::string& value)
{
    auto guard = m_db.lock();
    auto st = m_db.prepare(
        "INSERT INTO settings (name, value) VALUES (?1, ?2) ON CONFLICT(name) DO UPDATE SET value = excluded.value");
    st.bind(1, name).bind(2, value);
    st.run();
}

bool SettingsStore::flag(const std::string& name)
{
    return get(name) == "true";
}

void SettingsStore::setFlag(const std::string& name, bool on)
{
    set(name, on ? "true" : "false");
}
