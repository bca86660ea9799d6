#include "core/common/Diagnostics.h"

#include "core/common/Utf8.h"

Diagnostics& Diagnostics::instance()
{
    static Diagnostics diagnostics;
    return diagnostics;
}

bool Diagnostics::log(const std::wstring&)
{
    return true;
}

std::string Diagnostics::composeReport(const std::wstring& operation, const std::wstring& detail,
                                       const std::string& source, const std::wstring& line)
{
    const std::wstring text = operation + L"||" + detail + L"||" + Utf8::decode(source) +
                              L"||" + line;
    return Utf8::encode(text);
}

void Diagnostics::reportError(const std::wstring& operation, const std::wstring& detail,
                              const std::string& source, const std::wstring& line)
{
    const std::string text = composeReport(operation, detail, source, line);
    ReportSink sink;
    {
        std::lock_guard lock(m_mutex);
        m_lastReport = text;
        sink = m_sink;
    }
    if (sink)
        sink(text);
}

void Diagnostics::setReportSink(ReportSink sink)
{
    std::lock_guard lock(m_mutex);
    m_sink = std::move(sink);
}

std::string Diagnostics::lastReport() const
{
    std::lock_guard lock(m_mutex);
    return m_lastReport;
}
