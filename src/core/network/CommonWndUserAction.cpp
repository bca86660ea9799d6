#include "core/network/CommonWndUserAction.h"

#include "core/common/Diagnostics.h"
#include "core/common/Utils.h"
#include "core/message/WindowMessages.h"
#include "core/network/NotifyPayload.h"

#include <atomic>

namespace {
// JSON faults are reported for the first few only, so a broken reply cannot flood the service.
std::atomic<int> g_jsonErrorReports{0};
constexpr int kMaxJsonErrorReports = 5;
} // namespace

void CommonWndUserAction::notify(int subCode, std::unique_ptr<MessagePayload> payload,
                                 std::intptr_t number) const
{
    if (!payload && number != 0)
        payload = std::make_unique<NotifyNumber>(number);
    MessageSink::current().post(m_window, WindowMessages::WM_UI_NOTIFY, subCode, std::move(payload));
}

void CommonWndUserAction::OnRequestError(const std::string&, int)
{
    notify(WindowMessages::Notify::RequestError);
}

void CommonWndUserAction::OnParseError(const std::string&, int)
{
    notify(WindowMessages::Notify::ParseError);
}

void CommonWndUserAction::OnJsonExceptionError(const Json::Exception& error, int)
{
    if (g_jsonErrorReports.fetch_add(1) < kMaxJsonErrorReports)
        Diagnostics::instance().reportError(L"OnJsonExceptionError", Utils::ansiToWide(error.what()),
                                            "Window\\CommonWndUserAction", L"34");
    notify(WindowMessages::Notify::JsonError);
}
