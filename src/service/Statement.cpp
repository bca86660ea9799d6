#include "Statement.h"

#include <sqlite3.h>

#include <stdexcept>

namespace {

void check(sqlite3* db, int rc, const char* what)
{
    if (rc != SQLITE_OK)
        throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
}

} // namespace

Statement::Statement(sqlite3* db, std::string_view sql) : m_db(db)
{
    check(db, sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &m_stmt, nullptr),
          "prepare");
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

Statement::Statement(Statement&& other) noexcept : m_db(other.m_db), m_stmt(other.m_stmt)
{
    other.m_stmt = nullptr;
}

Statement& Statement::bind(int index, std::string_view text)
{
    check(m_db, sqlite3_bind_text64(m_stmt, index, text.data(), text.size(), SQLITE_TRANSIENT,
                                    SQLITE_UTF8),
          "bind");
    return *this;
}

Statement& Statement::bind(int index, std::int64_t value)
{
    check(m_db, sqlite3_bind_int64(m_stmt, index, value), "bind");
    return *this;
}

Statement& Statement::bindBlob(int index, std::string_view bytes)
{
    check(m_db, sqlite3_bind_blob64(m_stmt, index, bytes.data(), bytes.size(), SQLITE_TRANSIENT),
          "bind");
    return *this;
}

Statement& Statement::bindNull(int index)
{
    check(m_db, sqlite3_bind_null(m_stmt, index), "bind");
    return *this;
}

bool Statement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throw std::runtime_error(std::string("step: ") + sqlite3_errmsg(m_db));
}

void Statement::run()
{
    while (step()) {
    }
}

std::string Statement::text(int column) const
{
    const void* data = sqlite3_column_blob(m_stmt, column);
    const int size = sqlite3_column_bytes(m_stmt, column);
    return data ? std::string(static_cast<const char*>(data), static_cast<size_t>(size)) : std::string();
}

std::int64_t Statement::integer(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

bool Statement::isNull(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}
