#pragma once
// The callback of a single-file job: progress texts in the row, then its result.

#include "core/converter/PdfHandleCallback.h"
#include "core/tasks/CommonListItemCallback.h"

class PdfHandleConverterCallback : public Converter::PdfHandleCallback, public CommonListItemCallback {
public:
    static constexpr const wchar_t* kListName = L"pdfhandle";

    PdfHandleConverterCallback(WindowHandle window, std::shared_ptr<RowRegistry> registry);

    void onProgress(int type, int current, int total) override;
    void onOversizePages(const std::vector<int>& pages) override;
    void onError(ConvertError error, const std::string& sourceFile, int line) override;
    void onFinished(bool ok, const std::wstring& inputPath, const std::wstring& outputPath) override;
};
