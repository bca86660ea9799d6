#include "core/tasks/PdfHandleMergeCallback.h"

#include "core/app/TextId.h"
#include "core/app/TextTable.h"
#include "core/message/WindowMessages.h"
#include "core/tasks/TaskPayloads.h"

void PdfHandleMergeCallback::onProgress(int, int, int)
{
    // Posted without the registry lock; the window checks the row when it shows the text.
    const std::wstring text = Glossary::text(TextId::MergingPdf);
    for (const CommonListItemCallback& callback : m_rowCallbacks)
        MessageSink::current().post(m_window, WindowMessages::WM_UI_NOTIFY, kRowTextNotify,
                                    std::make_unique<RowText>(callback.row(), text));
}

void PdfHandleMergeCallback::onError(ConvertError error, const std::string& sourceFile, int line)
{
    for (CommonListItemCallback& callback : m_rowCallbacks)
        callback.onError(error, sourceFile, line);
}

void PdfHandleMergeCallback::onFinished(bool ok, const std::wstring& inputPath,
                                        const std::wstring& outputPath)
{
    reportConversion(m_window);
    for (CommonListItemCallback& callback : m_rowCallbacks)
        callback.onFinished(ok, inputPath, outputPath);
}
