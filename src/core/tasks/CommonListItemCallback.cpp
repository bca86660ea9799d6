#include "core/tasks/CommonListItemCallback.h"

#include "core/message/WindowMessages.h"
#include "core/network/CommonWndUserAction.h"
#include "core/tasks/RowRegistry.h"
#include "core/tasks/TaskPayloads.h"
#include "core/user/RequestId.h"
#include "core/user/User.h"

#include <utility>

namespace {
constexpr int kConversionStatisticsType = 9;
}

CommonListItemCallback::CommonListItemCallback(WindowHandle window, std::wstring listName,
                                               std::shared_ptr<RowRegistry> registry)
    : m_window(window), m_listName(std::move(listName)), m_registry(std::move(registry))
{
}

void CommonListItemCallback::onError(ConvertError error, const std::string&, int)
{
    m_error = std::move(error);
}

void CommonListItemCallback::onFinished(bool ok, const std::wstring&, const std::wstring& outputPath)
{
    auto result = std::make_unique<FileResult>();
    result->ok = ok;
    result->outputPath = outputPath;
    result->listName = m_listName;
    result->window = m_window;
    result->row = m_row;
    // The callback serves the zone's rows one after another: nothing carries over to the next.
    result->error = std::exchange(m_error, {});
    result->oversizePages = std::exchange(m_oversizePages, {});
    // The row may have been removed while its job ran: then its result is dropped.
    m_registry->withRow(m_row, [&](RowEntry& entry) {
        entry.pending = false;
        MessageSink::current().post(m_window, WindowMessages::WM_FILE_RESULT, 0, std::move(result));
    });
}

void reportConversion(WindowHandle window)
{
    User* user = User::current();
    if (!user)
        return;
    user->setConversionType(kConversionStatisticsType);
    user->SendRequest(RequestId::ConvertStatistics, std::make_shared<CommonWndUserAction>(window));
}
