#pragma once
// Crash reports that could not be sent yet. Each one is a file in the configuration folder,
// "crash-report-<seconds>-<pid>.json", holding the report's fields and attachment, so the
// reporter can send it at its next run. At most kMaxKept are kept; the oldest go first.

#include <map>
#include <string>
#include <vector>

class KeptCrashReports {
public:
    static constexpr const char* kPrefix = "crash-report-";
    static constexpr const char* kSuffix = ".json";
    static constexpr std::size_t kMaxKept = 16;

    struct Report {
        std::map<std::string, std::string> fields;
        std::string attachmentName;
        std::string attachment;
    };

    // The default configuration folder (documents folder + the program's folder name).
    KeptCrashReports();
    explicit KeptCrashReports(std::string folder);

    const std::string& folder() const { return m_folder; }

    // Paths of the kept reports, oldest first.
    std::vector<std::string> list() const;
    bool empty() const { return list().empty(); }
    // Writes the report as a new file (private to the user) and drops the oldest beyond the
    // limit. Returns the file's path, or an empty text when it cannot be written.
    std::string keep(const Report& report) const;
    // False when the file is missing or is not a report; such a file is of no use.
    static bool load(const std::string& path, Report& report);

    static std::string toText(const Report& report);
    static bool fromText(const std::string& text, Report& report);

private:
    std::string m_folder;
};
