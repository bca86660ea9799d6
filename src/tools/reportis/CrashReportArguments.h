#pragma once
// The reporter's command line as the crash handler builds it:
//   -n NAME -v VERSION -u ADDRESS -pid PID -tid TID -xcp ADDRESS -p "name:value,...,"
// turned into the fields of one report. Values are cut to a length the service accepts and
// made valid UTF-8; unknown options are ignored.

#include "core/crash/KeptCrashReports.h"

#include <string>
#include <vector>

class CrashReportArguments {
public:
    static constexpr std::size_t kMaxValueLength = 1024;
    static constexpr std::size_t kMaxParameters = 32;

    static CrashReportArguments parse(const std::vector<std::string>& args);

    // True when the command line carries a report (any of the options above).
    bool hasReport() const { return !m_report.fields.empty(); }
    const std::string& address() const { return m_address; }
    const KeptCrashReports::Report& report() const { return m_report; }
    pid_t processId() const { return m_processId; }
    pid_t threadId() const { return m_threadId; }

    // Splits "a:1,b:2," into fields (quotes around the whole list are dropped).
    static void addParameters(const std::string& text, std::map<std::string, std::string>& fields);
    // Replaces every byte that is not part of a valid UTF-8 sequence, and control characters
    // other than tab and line feed, by '?'.
    static std::string cleanText(const std::string& text, std::size_t limit);

private:
    std::string m_address;
    KeptCrashReports::Report m_report;
    pid_t m_processId = 0;
    pid_t m_threadId = 0;
};
