#pragma once
// One prepared SQLite statement. Values are always bound, never pasted into the SQL text.

#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

class Statement {
public:
    Statement(sqlite3* db, std::string_view sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&&) = delete;

    // Parameters are numbered from 1, as in SQL ("?1", "?2", ...).
    Statement& bind(int index, std::string_view text);
    Statement& bind(int index, std::int64_t value);
    Statement& bindBlob(int index, std::string_view bytes);
    Statement& bindNull(int index);

    // Steps once; true when a row is available.
    bool step();
    // Steps until the statement is done.
    void run();

    // Columns are numbered from 0.
    std::string text(int column) const;
    std::int64_t integer(int column) const;
    bool isNull(int column) const;

private:
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};
