#include "CrashReportArguments.h"

#include "core/common/Utils.h"

#include <charconv>

namespace {

pid_t toProcessId(const std::string& text)
{
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && value > 0 && value <= 0x3fffffff
               ? static_cast<pid_t>(value)
               : 0;
}

} // namespace

std::string CrashReportArguments::cleanText(const std::string& text, std::size_t limit)
{
    // The text conversion keeps invalid bytes as U+DC80..U+DCFF; those become '?' here.
    std::string out;
    for (const wchar_t c : Utils::utf8ToWide(text)) {
        const bool invalid = c >= 0xDC80 && c <= 0xDCFF;
        const bool control = (c < 0x20 && c != L'\t' && c != L'\n') || c == 0x7F;
        const std::string piece = invalid || control ? std::string("?") : Utils::wideToUtf8(std::wstring(1, c));
        if (out.size() + piece.size() > limit)
            break;
        out += piece;
    }
    return out;
}

void CrashReportArguments::addParameters(const std::string& text, std::map<std::string, std::string>& fields)
{
    std::string list = text;
    if (list.size() >= 2 && list.front() == '"' && list.back() == '"')
        list = list.substr(1, list.size() - 2);
    std::size_t added = 0;
    std::size_t start = 0;
    while (start < list.size() && added < kMaxParameters) {
        std::size_t end = list.find(',', start);
        if (end == std::string::npos)
            end = list.size();
        const std::string item = list.substr(start, end - start);
        start = end + 1;
        const std::size_t colon = item.find(':');
        if (colon == 0 || colon == std::string::npos)
            continue;
        const std::string name = cleanText(item.substr(0, colon), 64);
        if (fields.emplace(name, cleanText(item.substr(colon + 1), kMaxValueLength)).second)
            ++added;
    }
}

CrashReportArguments CrashReportArguments::parse(const std::vector<std::string>& args)
{
    CrashReportArguments result;
    auto& fields = result.m_report.fields;
    for (std::size_t i = 0; i + 1 < args.size(); ++i) {
        const std::string& option = args[i];
        const std::string& value = args[i + 1];
        if (option == "-u") {
            result.m_address = value;
        } else if (option == "-p") {
            addParameters(value, fields);
        } else if (option == "-n" || option == "-v" || option == "-pid" || option == "-tid" || option == "-xcp") {
            fields[option.substr(1)] = cleanText(value, kMaxValueLength);
            if (option == "-pid")
                result.m_processId = toProcessId(value);
            else if (option == "-tid")
                result.m_threadId = toProcessId(value);
        } else {
            continue;
        }
        ++i;
    }
    return result;
}
