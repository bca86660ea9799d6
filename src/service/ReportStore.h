#pragma once
// What clients send in: feedback, error reports ("SetErrorMsg"), crash reports
// ("/senderrormsg") and usage statistics. Listings come back as JSON arrays, oldest first, with
// the member names of the requests that brought the data.

#include <json/value.h>

#include <cstdint>
#include <string>

class Database;

class ReportStore {
public:
    struct Feedback {
        std::string userId, winType, key, value, content, macId, version;
    };
    struct Statistic {
        std::string kind, userId, macId, version, detail;
    };

    explicit ReportStore(Database& db) : m_db(db) {}

    std::int64_t addFeedback(const Feedback& feedback);
    std::int64_t addErrorReport(const std::string& reason, const std::string& version,
                                const std::string& uid);
    // fields: a JSON object of text members; the attachment may be empty.
    std::int64_t addCrashReport(const Json::Value& fields, const std::string& attachmentName,
                                const std::string& attachment);
    std::int64_t addStatistic(const Statistic& statistic);

    Json::Value feedback();
    Json::Value errorReports();
    Json::Value crashReports();
    Json::Value statistics();

private:
    Database& m_db;
};
