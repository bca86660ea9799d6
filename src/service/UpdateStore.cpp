#include "UpdateStore.h"

#include "Crypto.h"
#include "Database.h"

const std::string& UpdateStore::defaultUpdater()
{
    static const std::string script =
        "#!/bin/sh\n"
        "# Stand-in updater handed out by korvex-service. It installs nothing.\n"
        "echo \"korvex updater: nothing to install into $1\"\n"
        "exit 0\n";
    return script;
}

UpdateStore::UpdateStore(Database& db) : m_db(db)
{
    auto guard = m_db.lock();
    auto st = m_db.prepare(
        "INSERT OR IGNORE INTO updater (id, version, message, content, sha256) VALUES (1, '', '', ?1, ?2)");
    st.bindBlob(1, defaultUpdater()).bind(2, Crypto::sha256Hex(defaultUpdater()));
    st.run();
}

UpdateStore::Offer UpdateStore::current()
{
    auto guard = m_db.lock();
    auto st = m_db.prepare("SELECT version, message, content, sha256 FROM updater WHERE id = 1");
    if (!st.step())
        return {};
    return Offer{st.text(0), st.text(1), st.text(2), st.text(3)};
}

void UpdateStore::setVersion(const std::string& version, const std::string& message)
{
    auto guard = m_db.lock();
    auto st = m_db.prepare("UPDATE updater SET version = ?1, message = ?2 WHERE id = 1");
    st.bind(1, version).bind(2, message);
    st.run();
}

void UpdateStore::setContent(const std::string& content)
{
    auto guard = m_db.lock();
    auto st = m_db.prepare("UPDATE updater SET content = ?1, sha256 = ?2 WHERE id = 1");
    st.bindBlob(1, content).bind(2, Crypto::sha256Hex(content));
    st.run();
}
