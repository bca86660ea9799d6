#pragma once
// Reports a job on the console: each progress step as its glossary status text on standard
// error, and keeps the error and the result for the summary.

#include "core/converter/ConvertError.h"
#include "core/converter/PdfHandleCallback.h"

#include <string>
#include <vector>

class ConsoleCallback : public Converter::PdfHandleCallback {
public:
    explicit ConsoleCallback(std::wstring label) : m_label(std::move(label)) {}

    void onProgress(int type, int current, int total) override;
    void onOversizePages(const std::vector<int>& pages) override { m_oversizePages = pages; }
    void onError(ConvertError error, const std::string& sourceFile, int line) override;
    void onFinished(bool ok, const std::wstring& inputPath, const std::wstring& outputPath) override;

    // The status text of a progress step, as the window rows show it.
    static std::wstring progressText(int type, int current, int total);
    // "Fail To Conversion. Reason: Password Error (qpdf: ...)", in the current language.
    static std::wstring failureText(int summaryText, const ConvertError& error);

    bool ok() const { return m_ok; }
    const ConvertError& error() const { return m_error; }
    const std::wstring& outputPath() const { return m_outputPath; }
    // The pages the split by size wrote alone over the size.
    const std::vector<int>& oversizePages() const { return m_oversizePages; }

private:
    std::wstring m_label;
    ConvertError m_error;
    bool m_ok = false;
    std::wstring m_outputPath;
    std::vector<int> m_oversizePages;
};

// Console output in UTF-8, one line at a time.
void printLine(FILE* stream, const std::wstring& text);
