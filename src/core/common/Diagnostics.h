#pragma once
// Error reports: a one-line text "operation||detail||source||line" for failures the user cannot
// fix. The text is kept as the last report and handed to the sink that the user record installs
// (which stores it and sends it to the service).

#include <functional>
#include <mutex>
#include <string>

class Diagnostics {
public:
    using ReportSink = std::function<void(const std::string& reportText)>;

    static Diagnostics& instance();

    virtual ~Diagnostics() = default;
    virtual bool log(const std::wstring& text);
    virtual void reportError(const std::wstring& operation, const std::wstring& detail,
                             const std::string& source, const std::wstring& line);

    // The composed text of a report, as it is stored and sent.
    static std::string composeReport(const std::wstring& operation, const std::wstring& detail,
                                     const std::string& source, const std::wstring& line);

    void setReportSink(ReportSink sink);
    std::string lastReport() const;

protected:
    Diagnostics() = default;

private:
    mutable std::mutex m_mutex;
    ReportSink m_sink;
    std::string m_lastReport;
};
