#include "AccountStore.h"

#include "Crypto.h"
#include "Database.h"

#include <charconv>

namespace {

constexpr const char* kSelect =
    "SELECT id, username, IFNULL(email, ''), IFNULL(phone, ''), IFNULL(password, '') FROM accounts ";

Account readAccount(const Statement& st)
{
    return Account{st.integer(0), st.text(1), st.text(2), st.text(3), st.text(4)};
}

void bindOrNull(Statement& st, int index, const std::string& value)
{
    if (value.empty())
        st.bindNull(index);
    else
        st.bind(index, value);
}

} // namespace

std::optional<Account> AccountStore::find(std::int64_t id)
{
    auto guard = m_db.lock();
    auto st = m_db.prepare(std::string(kSelect) + "WHERE id = ?1");
    st.bind(1, id);
    if (!st.step())
        return std::nullopt;
    return readAccount(st);
}

std::optional<Account> AccountStore::find(const std::string& id)
{
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(id.data(), id.data() + id.size(), value);
    if (id.empty() || ec != std::errc() || end != id.data() + id.size() || value <= 0)
        return std::nullopt;
    return find(value);
}

std::optional<Account> AccountStore::findByEmail(const std::string& email)
{
    return findBy("email", email);
}

std::optional<Account> AccountStore::findByPhone(const std::string& phone)
{
    return findBy("phone", phone);
}

std::optional<Account> AccountStore::findBy(const char* column, const std::string& value)
{
    if (value.empty())
        return std::nullopt;
    auto guard = m_db.lock();
    // The column name is one of two constants of this class, never input.
    auto st = m_db.prepare(std::string(kSelect) + "WHERE " + column + " = ?1");
    st.bind(1, value);
    if (!st.step())
        return std::nullopt;
    return readAccount(st);
}

std::int64_t AccountStore::create(const std::string& username, const std::string& email,
                                  const std::string& passwordHash, const std::string& phone)
{
    auto guard = m_db.lock();
    auto st = m_db.prepare("INSERT INTO accounts (username, email, password, phone) VALUES (?1, ?2, ?3, ?4)");
    st.bind(1, username);
    bindOrNull(st, 2, email);
    bindOrNull(st, 3, passwordHash);
    bindOrNull(st, 4, phone);
    st.run();
    return m_db.lastInsertId();
}

Account AccountStore::findOrCreateByPhone(const std::string& phone)
{
    auto guard = m_db.lock();
    if (auto found = findByPhone(phone))
        return *found;
    const std::string name = "手机用户" + phone.substr(phone.size() >= 4 ? phone.size() - 4 : 0);
    return *find(create(name, {}, {}, phone));
}

bool AccountStore::bindPhone(std::int64_t id, const std::string& phone)
{
    auto guard = m_db.lock();
    const auto holder = findByPhone(phone);
    if (holder && holder->id != id)
        return false;
    auto st = m_db.prepare("UPDATE accounts SET phone = ?1 WHERE id = ?2");
    st.bind(1, phone).bind(2, id);
    st.run();
    return m_db.changes() == 1;
}

std::string AccountStore::issueOpenKey(std::int64_t userId, const std::string& via)
{
    const std::string key = Crypto::randomHex(16);
    m_db.transaction([&] {
        auto revoke = m_db.prepare("UPDATE open_keys SET revoked = 1 WHERE user_id = ?1 AND revoked = 0");
        revoke.bind(1, userId);
        revoke.run();
        auto insert = m_db.prepare("INSERT INTO open_keys (open_key, user_id, via) VALUES (?1, ?2, ?3)");
        insert.bind(1, key).bind(2, userId).bind(3, via);
        insert.run();
    });
    return key;
}

std::string AccountStore::currentOpenKey(std::int64_t userId)
{
    auto guard = m_db.lock();
    auto st = m_db.prepare(
        "SELECT open_key FROM open_keys WHERE user_id = ?1 AND revoked = 0 ORDER BY rowid DESC LIMIT 1");
    st.bind(1, userId);
    return st.step() ? st.text(0) : std::string();
}

std::int64_t AccountStore::userOfOpenKey(const std::string& openKey)
{
    auto guard = m_db.lock();
    auto st = m_db.prepare("SELECT user_id FROM open_keys WHERE open_key = ?1 AND revoked = 0");
    st.bind(1, openKey);
    return st.step() ? st.integer(0) : 0;
}

int AccountStore::endSessions(std::int64_t userId)
{
    auto guard = m_db.lock();
    auto st = m_db.prepare("UPDATE open_keys SET revoked = 1 WHERE user_id = ?1 AND revoked = 0");
    st.bind(1, userId);
    st.run();
    return m_db.changes();
}
