#pragma once
// The short-lived secrets of the QR and SMS logins: QR login ids waiting to be scanned, and the
// verification codes sent to phones.

#include <cstdint>
#include <string>

class Database;

class LoginCodeStore {
public:
    static constexpr std::int64_t kQrLifetimeSeconds = 300;
    static constexpr std::int64_t kSmsLifetimeSeconds = 600;
    static constexpr int kSmsAttempts = 5;

    enum class QrState { Unknown, Expired, Waiting, Scanned };
    struct QrLogin {
        QrState state = QrState::Unknown;
        std::int64_t userId = 0;  // when scanned
        std::string openKey;      // once the scan has been collected by polling
    };

    explicit LoginCodeStore(Database& db) : m_db(db) {}

    // A new QR login id (32 hexadecimal characters).
    std::string createQr();
    QrLogin qr(const std::string& guid);
    // False when the id is unknown or has expired unscanned.
    bool markQrScanned(const std::string& guid, std::int64_t userId);
    void setQrOpenKey(const std::string& guid, const std::string& openKey);

    // Sends (stores) a fresh 4-digit code for the phone and returns it.
    std::string createSmsCode(const std::string& phone);
    // The last code sent to the phone, used or not; empty when none was sent.
    std::string lastSmsCode(const std::string& phone);
    // True, and the code is spent, when it is the phone's latest unused code within its
    // lifetime; every wrong try counts, and after kSmsAttempts the code is void.
    bool useSmsCode(const std::string& phone, const std::string& code);

private:
    Database& m_db;
};
