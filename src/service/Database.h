#pragma once
// The service's SQLite file: opens it, creates the tables on first use, and serialises every use
// of the one connection behind a lock (the HTTP server answers on several threads).

#include "Statement.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

class Database {
public:
    // Throws std::runtime_error when the file cannot be opened or is not a database.
    explicit Database(const std::string& path);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Held around every use of the connection; the same thread may take it again.
    std::unique_lock<std::recursive_mutex> lock();

    Statement prepare(std::string_view sql);
    void exec(const std::string& sql);
    std::int64_t lastInsertId();
    int changes();

    // Runs body inside one transaction under the lock; rolls back when it throws.
    void transaction(const std::function<void()>& body);

private:
    void createTables();

    sqlite3* m_db = nullptr;
    std::recursive_mutex m_mutex;
};
