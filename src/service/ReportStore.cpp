#include "ReportStore.h"

#include "Crypto.h"
#include "Database.h"
#include "JsonReply.h"
#include "Utf8.h"

#include <json/reader.h>

#include <functional>
#include <memory>

namespace {

// Reads every row of a SELECT whose columns are all text, except the first (the id).
Json::Value listRows(Database& db, const std::string& sql, std::initializer_list<const char*> names)
{
    Json::Value rows(Json::arrayValue);
    auto guard = db.lock();
    auto st = db.prepare(sql);
    while (st.step()) {
        Json::Value row(Json::objectValue);
        row["id"] = static_cast<Json::Int64>(st.integer(0));
        int column = 1;
        for (const char* name : names)
            row[name] = st.text(column++);
        rows.append(row);
    }
    return rows;
}

// Inserts one row under the lock; bindValues fills the statement's parameters.
std::int64_t insertRow(Database& db, std::string_view sql, const std::function<void(Statement&)>& bindValues)
{
    auto guard = db.lock();
    auto st = db.prepare(sql);
    bindValues(st);
    st.run();
    return db.lastInsertId();
}

} // namespace

std::int64_t ReportStore::addFeedback(const Feedback& f)
{
    const char* sql = "INSERT INTO feedback (user_id, win_type, contact_kind, contact, content, mac_id, version)"
                      " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)";
    return insertRow(m_db, sql, [&](Statement& st) {
        st.bind(1, f.userId).bind(2, f.winType).bind(3, f.key).bind(4, f.value).bind(5, f.content);
        st.bind(6, f.macId).bind(7, f.version);
    });
}

std::int64_t ReportStore::addErrorReport(const std::string& reason, const std::string& version,
                                         const std::string& uid)
{
    const char* sql = "INSERT INTO error_reports (reason, version, uid) VALUES (?1, ?2, ?3)";
    return insertRow(m_db, sql, [&](Statement& st) {
        st.bind(1, reason).bind(2, version).bind(3, uid);
    });
}

std::int64_t ReportStore::addCrashReport(const Json::Value& fields, const std::string& attachmentName,
                                         const std::string& attachment)
{
    const char* sql = "INSERT INTO crash_reports (fields, attachment_name, attachment) VALUES (?1, ?2, ?3)";
    return insertRow(m_db, sql, [&](Statement& st) {
        st.bind(1, JsonReply::text(fields)).bind(2, attachmentName).bindBlob(3, attachment);
    });
}

std::int64_t ReportStore::addStatistic(const Statistic& s)
{
    const char* sql = "INSERT INTO statistics (kind, user_id, mac_id, version, detail) VALUES (?1, ?2, ?3, ?4, ?5)";
    return insertRow(m_db, sql, [&](Statement& st) {
        st.bind(1, s.kind).bind(2, s.userId).bind(3, s.macId).bind(4, s.version).bind(5, s.detail);
    });
}

Json::Value ReportStore::feedback()
{
    return listRows(m_db,
                    "SELECT id, user_id, win_type, contact_kind, contact, content, mac_id, version, received_at"
                    " FROM feedback ORDER BY id",
                    {"user_id", "win_type", "key", "value", "content", "mac_id", "version", "received_at"});
}

Json::Value ReportStore::errorReports()
{
    return listRows(m_db, "SELECT id, reason, version, uid, received_at FROM error_reports ORDER BY id",
                    {"reason", "version", "uid", "received_at"});
}

Json::Value ReportStore::statistics()
{
    return listRows(m_db,
                    "SELECT id, kind, user_id, mac_id, version, detail, received_at FROM statistics ORDER BY id",
                    {"kind", "user_id", "mac_id", "version", "detail", "received_at"});
}

Json::Value ReportStore::crashReports()
{
    Json::Value rows(Json::arrayValue);
    auto guard = m_db.lock();
    auto st = m_db.prepare(
        "SELECT id, fields, IFNULL(attachment_name, ''), IFNULL(attachment, ''), received_at FROM crash_reports ORDER BY id");
    Json::CharReaderBuilder builder;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    while (st.step()) {
        Json::Value row(Json::objectValue);
        row["id"] = static_cast<Json::Int64>(st.integer(0));
        const std::string fields = st.text(1);
        Json::Value parsed;
        if (!reader->parse(fields.data(), fields.data() + fields.size(), &parsed, nullptr))
            parsed = Json::Value(Json::objectValue);
        row["fields"] = parsed;
        const std::string attachment = st.text(3);
        row["attachment_name"] = st.text(2);
        row["attachment_size"] = static_cast<Json::UInt64>(attachment.size());
        row["attachment_sha256"] = Crypto::sha256Hex(attachment);
        if (Utf8::valid(attachment))
            row["attachment"] = attachment;
        row["received_at"] = st.text(4);
        rows.append(row);
    }
    return rows;
}
