#include "core/tasks/PdfHandleConverterCallback.h"

#include "core/converter/PdfHandleParameter.h"
#include "core/message/WindowMessages.h"
#include "core/tasks/ProgressText.h"
#include "core/tasks/RowRegistry.h"
#include "core/tasks/TaskPayloads.h"

namespace {
using Converter::PdfHandleParameter;
} // namespace

PdfHandleConverterCallback::PdfHandleConverterCallback(WindowHandle window,
                                                       std::shared_ptr<RowRegistry> registry)
    : CommonListItemCallback(window, kListName, std::move(registry))
{
}

void PdfHandleConverterCallback::onProgress(int type, int current, int total)
{
    const std::wstring text = progressText(type, current, total);
    if (m_registry->isRegistered(m_row))
        MessageSink::current().post(m_window, WindowMessages::WM_UI_NOTIFY, kRowTextNotify,
                                    std::make_unique<RowText>(m_row, text));
}

void PdfHandleConverterCallback::onOversizePages(const std::vector<int>& pages)
{
    m_oversizePages = pages;
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
