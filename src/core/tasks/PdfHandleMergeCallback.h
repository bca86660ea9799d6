#pragma once
// The callback of a merge: one job for several rows, so every row gets the progress text and
// its own result with the same output.

#include "core/converter/PdfHandleCallback.h"
#include "core/tasks/CommonListItemCallback.h"

#include <vector>

class PdfHandleMergeCallback : public Converter::PdfHandleCallback {
public:
    static constexpr const wchar_t* kListName = L"pdfmerge";

    explicit PdfHandleMergeCallback(WindowHandle window) : m_window(window) {}

    void addRowCallback(const CommonListItemCallback& callback) { m_rowCallbacks.push_back(callback); }
    const std::vector<CommonListItemCallback>& rowCallbacks() const { return m_rowCallbacks; }

    void onProgress(int type, int current, int total) override;
    void onError(ConvertError error, const std::string& sourceFile, int line) override;
    void onFinished(bool ok, const std::wstring& inputPath, const std::wstring& outputPath) override;

private:
    std::vector<CommonListItemCallback> m_rowCallbacks;
    WindowHandle m_window;
};
