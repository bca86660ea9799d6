#include "Database.h"

#include <sqlite3.h>

#include <stdexcept>

namespace {

constexpr const char* kNow = "(strftime('%Y-%m-%dT%H:%M:%SZ','now'))";

std::string schema()
{
    const std::string now = kNow;
    return R"(
CREATE TABLE IF NOT EXISTS accounts (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  username TEXT NOT NULL,
  email TEXT UNIQUE,
  password TEXT,
  phone TEXT UNIQUE,
  created_at TEXT NOT NULL DEFAULT )" + now + R"(
);
CREATE TABLE IF NOT EXISTS open_keys (
  open_key TEXT PRIMARY KEY,
  user_id INTEGER NOT NULL REFERENCES accounts(id),
  via TEXT NOT NULL,
  revoked INTEGER NOT NULL DEFAULT 0,
  issued_at TEXT NOT NULL DEFAULT )" + now + R"(
);
CREATE INDEX IF NOT EXISTS open_keys_user ON open_keys(user_id, revoked);
CREATE TABLE IF NOT EXISTS qr_logins (
  guid TEXT PRIMARY KEY,
  created INTEGER NOT NULL,
  user_id INTEGER REFERENCES accounts(id),
  open_key TEXT
);
CREATE TABLE IF NOT EXISTS sms_codes (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  phone TEXT NOT NULL,
  code TEXT NOT NULL,
  sent INTEGER NOT NULL,
  attempts INTEGER NOT NULL DEFAULT 0,
  used INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX IF NOT EXISTS sms_codes_phone ON sms_codes(phone);
CREATE TABLE IF NOT EXISTS feedback (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  user_id TEXT, win_type TEXT, contact_kind TEXT, contact TEXT, content TEXT,
  mac_id TEXT, version TEXT,
  received_at TEXT NOT NULL DEFAULT )" + now + R"(
);
CREATE TABLE IF NOT EXISTS error_reports (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  reason TEXT, version TEXT, uid TEXT,
  received_at TEXT NOT NULL DEFAULT )" + now + R"(
);
CREATE TABLE IF NOT EXISTS crash_reports (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  fields TEXT NOT NULL,
  attachment_name TEXT,
  attachment BLOB,
  received_at TEXT NOT NULL DEFAULT )" + now + R"(
);
CREATE TABLE IF NOT EXISTS statistics (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  kind TEXT NOT NULL, user_id TEXT, mac_id TEXT, version TEXT, detail TEXT,
  received_at TEXT NOT NULL DEFAULT )" + now + R"(
);
CREATE TABLE IF NOT EXISTS settings (
  name TEXT PRIMARY KEY,
  value TEXT NOT NULL
);
CREATE TABLE IF NOT EXISTS advertisements (
  img_key TEXT PRIMARY KEY,
  title TEXT NOT NULL,
  position INTEGER NOT NULL
);
CREATE TABLE IF NOT EXISTS updater (
  id INTEGER PRIMARY KEY CHECK (id = 1),
  version TEXT NOT NULL,
  message TEXT NOT NULL,
  content BLOB NOT NULL,
  sha256 TEXT NOT NULL
);
INSERT OR IGNORE INTO advertisements (img_key, title, position) VALUES
  ('spring_offer', 'Spring offer: Korvex for the whole team', 1),
  ('pdf_tips', 'Ten tips for splitting large PDF files', 2),
  ('cloud_sync', 'Keep your merged files in the cloud', 3);
PRAGMA user_version = 1;
)";
}

} // namespace

Database::Database(const std::string& path)
{
    const int rc = sqlite3_open_v2(path.c_str(), &m_db,
                                   SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                                   nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = m_db ? sqlite3_errmsg(m_db) : "out of memory";
        sqlite3_close(m_db);
        throw std::runtime_error("cannot open database " + path + ": " + message);
    }
    sqlite3_busy_timeout(m_db, 5000);
    try {
        exec("PRAGMA foreign_keys = ON;");
        createTables();
    } catch (...) {
        sqlite3_close(m_db);
        throw;
    }
}

Database::~Database()
{
    sqlite3_close(m_db);
}

std::unique_lock<std::recursive_mutex> Database::lock()
{
    return std::unique_lock<std::recursive_mutex>(m_mutex);
}

Statement Database::prepare(std::string_view sql)
{
    return Statement(m_db, sql);
}

void Database::exec(const std::string& sql)
{
    char* error = nullptr;
    if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error ? error : "unknown error";
        sqlite3_free(error);
        throw std::runtime_error("sql: " + message);
    }
}

std::int64_t Database::lastInsertId()
{
    return sqlite3_last_insert_rowid(m_db);
}

int Database::changes()
{
    return sqlite3_changes(m_db);
}

void Database::transaction(const std::function<void()>& body)
{
    auto guard = lock();
    exec("BEGIN IMMEDIATE;");
    try {
        body();
        exec("COMMIT;");
    } catch (...) {
        sqlite3_exec(m_db, "ROLLBACK;", nullptr, nullptr, nullptr);
        throw;
    }
}

void Database::createTables()
{
    auto guard = lock();
    exec(schema());
}
