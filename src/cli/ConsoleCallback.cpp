#include "ConsoleCallback.h"

#include "core/tasks/ProgressText.h"

#include "core/app/TextId.h"
#include "core/app/TextTable.h"
#include "core/common/Utils.h"
#include "core/converter/PdfHandleParameter.h"

#include <cstdio>
#include <cwchar>

void printLine(FILE* stream, const std::wstring& text)
{
    const std::string bytes = Utils::wideToUtf8(text) + "\n";
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
    std::fflush(stream);
}

std::wstring ConsoleCallback::progressText(int type, int current, int total)
{
    if (current == 0)
        return type >= Converter::PdfHandleParameter::Extract && type <= Converter::PdfHandleParameter::Split
                   ? Glossary::text(TextId::ExtractingPdf + type) : std::wstring();
    if (type != Converter::PdfHandleParameter::Split) // "Compressing Page 3 / 30", as in the window
        return ::progressText(type, current, total);
    std::wstring text(Glossary::text(TextId::SplittingPage).size() + 32, L'\0'); // "Splitting Page %d / %d"
    const int written = std::swprintf(text.data(), text.size(), Glossary::text(TextId::SplittingPage).c_str(), current, total);
    text.resize(written < 0 ? 0 : static_cast<std::size_t>(written));
    return text;
}

std::wstring ConsoleCallback::failureText(int summaryText, const ConvertError& error)
{
    std::wstring text = Glossary::text(summaryText) + L". " + Glossary::text(TextId::Reason) + L" ";
    const std::wstring reason = error.reason ? Glossary::text(error.reason) : std::wstring();
    if (!reason.empty() && !error.detail.empty())
        return text + reason + L" (" + error.detail + L")";
    return text + (reason.empty() ? error.detail : reason);
}

void ConsoleCallback::onProgress(int type, int current, int total)
{
    const std::wstring text = progressText(type, current, total);
    if (!text.empty())
        printLine(stderr, m_label + L": " + text);
}

void ConsoleCallback::onError(ConvertError error, const std::string&, int)
{
    m_error = std::move(error);
}

void ConsoleCallback::onFinished(bool ok, const std::wstring&, const std::wstring& outputPath)
{
    m_ok = ok;
    m_outputPath = outputPath;
}
