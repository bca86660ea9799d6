#include "tasks/PdfHandleConverterCallback.h"

#include "app/TextTable.h"
#include "message/WindowMessages.h"
#include "tasks/RowRegistry.h"
#include "tasks/TaskPayloads.h"

namespace {
// Start texts by operation type: extract, compress, decrypt, merge, split.
constexpr int kStartTexts[] = {57, 58, 59, 60, 61};
constexpr int kSplitProgressText = 66;
constexpr int kSplitType = 4;
} // namespace

PdfHandleConverterCallback::PdfHandleConverterCallback(WindowHandle window,
                                                       std::shared_ptr<RowRegistry> registry)
    : CommonListItemCallback(window, kListName, std::move(registry))
{
}

std::wstring PdfHandleConverterCallback::progressText(int type, int current, int total)
{
    if (current == 0)
        return type >= 0 && type <= 4 ? Glossary::text(kStartTexts[type]) : std::wstring();
    if (type == kSplitType)
        return Glossary::text(Glossary::TextRequest(kSplitProgressText,
                                                    {std::to_wstring(current), std::to_wstring(total)}));
    return {};
}

void PdfHandleConverterCallback::onProgress(int type, int current, int total)
{
    const std::wstring text = progressText(type, current, total);
    if (m_registry->isRegistered(m_row))
        MessageSink::current().post(m_window, WindowMessages::WM_UI_NOTIFY, kRowTextNotify,
                                    std::make_unique<RowText>(m_row, text));
}

void PdfHandleConverterCallback::onError(ConvertError error, const std::string& sourceFile, int line)
{
    CommonListItemCallback::onError(std::move(error), sourceFile, line);
}

void PdfHandleConverterCallback::onFinished(bool ok, const std::wstring& inputPath,
                                            const std::wstring& outputPath)
{
    reportConversion(m_window);
    CommonListItemCallback::onFinished(ok, inputPath, outputPath);
}
