#include "LoginCodeStore.h"

#include "Crypto.h"
#include "Database.h"

#include <ctime>

namespace {

std::int64_t now()
{
    return static_cast<std::int64_t>(std::time(nullptr));
}

} // namespace

std::string LoginCodeStore::createQr()
{
    const std::string guid = Crypto::randomHex(16);
    auto guard = m_db.lock();
    auto st = m_db.prepare("INSERT INTO qr_logins (guid, created) VALUES (?1, ?2)");
    st.bind(1, guid).bind(2, now());
    st.run();
    return guid;
}

LoginCodeStore::QrLogin LoginCodeStore::qr(const std::string& guid)
{
    QrLogin login;
    auto guard = m_db.lock();
    auto st = m_db.prepare("SELECT created, user_id, IFNULL(open_key, '') FROM qr_logins WHERE guid = ?1");
    st.bind(1, guid);
    if (!st.step())
        return login;
    if (!st.isNull(1)) {
        login.state = QrState::Scanned;
        login.userId = st.integer(1);
        login.openKey = st.text(2);
    } else {
        login.state = now() - st.integer(0) > kQrLifetimeSeconds ? QrState::Expired : QrState::Waiting;
    }
    return login;
}

bool LoginCodeStore::markQrScanned(const std::string& guid, std::int64_t userId)
{
    auto guard = m_db.lock();
    if (qr(guid).state != QrState::Waiting)
        return false;
    auto st = m_db.prepare("UPDATE qr_logins SET user_id = ?1 WHERE guid = ?2");
    st.bind(1, userId).bind(2, guid);
    st.run();
    return true;
}

void LoginCodeStore::setQrOpenKey(const std::string& guid, const std::string& openKey)
{
    auto guard = m_db.lock();
    auto st = m_db.prepare("UPDATE qr_logins SET open_key = ?1 WHERE guid = ?2");
    st.bind(1, openKey).bind(2, guid);
    st.run();
}

std::string LoginCodeStore::createSmsCode(const std::string& phone)
{
    const std::string code = Crypto::randomDigits(4);
    auto guard = m_db.lock();
    auto st = m_db.prepare("INSERT INTO sms_codes (phone, code, sent) VALUES (?1, ?2, ?3)");
    st.bind(1, phone).bind(2, code).bind(3, now());
    st.run();
    return code;
}

std::string LoginCodeStore::lastSmsCode(const std::string& phone)
{
    auto guard = m_db.lock();
    auto st = m_db.prepare("SELECT code FROM sms_codes WHERE phone = ?1 ORDER BY id DESC LIMIT 1");
    st.bind(1, phone);
    return st.step() ? st.text(0) : std::string();
}

bool LoginCodeStore::useSmsCode(const std::string& phone, const std::string& code)
{
    bool accepted = false;
    m_db.transaction([&] {
        auto st = m_db.prepare(
            "SELECT id, code, sent, attempts, used FROM sms_codes WHERE phone = ?1 ORDER BY id DESC LIMIT 1");
        st.bind(1, phone);
        if (!st.step())
            return;
        const std::int64_t id = st.integer(0);
        if (st.integer(4) != 0 || st.integer(3) >= kSmsAttempts || now() - st.integer(2) > kSmsLifetimeSeconds)
            return;
        accepted = st.text(1) == code;
        auto update = m_db.prepare(accepted ? "UPDATE sms_codes SET used = 1 WHERE id = ?1"
                                            : "UPDATE sms_codes SET attempts = attempts + 1 WHERE id = ?1");
        update.bind(1, id);
        update.run();
    });
    return accepted;
}
