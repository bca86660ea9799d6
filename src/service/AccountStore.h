#pragma once
// Accounts and their open keys. A user has at most one open key in force: each new login
// revokes the older ones, so a client that still holds an old key learns that the login moved.

#include "Account.h"

#include <optional>
#include <string>

class Database;

class AccountStore {
public:
    explicit AccountStore(Database& db) : m_db(db) {}

    std::optional<Account> find(std::int64_t id);
    // Accepts the decimal text of an id; anything else finds nothing.
    std::optional<Account> find(const std::string& id);
    std::optional<Account> findByEmail(const std::string& email);
    std::optional<Account> findByPhone(const std::string& phone);

    // Empty email, phone or password hash are stored as NULL. Returns the new id.
    std::int64_t create(const std::string& username, const std::string& email,
                        const std::string& passwordHash, const std::string& phone);
    // The account with this phone, created when there is none.
    Account findOrCreateByPhone(const std::string& phone);
    // False when another account holds the phone already.
    bool bindPhone(std::int64_t id, const std::string& phone);

    // Issues a new open key and revokes the user's older ones.
    std::string issueOpenKey(std::int64_t userId, const std::string& via);
    // The key in force, or empty when the user is signed out.
    std::string currentOpenKey(std::int64_t userId);
    // The user whose key in force this is, or 0.
    std::int64_t userOfOpenKey(const std::string& openKey);
    // Revokes every key of the user; returns how many were in force.
    int endSessions(std::int64_t userId);

private:
    std::optional<Account> findBy(const char* column, const std::string& value);

    Database& m_db;
};
