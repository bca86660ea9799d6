#include "gui/menu/MenuCommands.h"

#include "core/network/NotifyPayload.h"
#include "gui/common/DesktopUtils.h"
#include "core/common/UrlEscape.h"
#include "gui/mainwnd/CMainWnd.h"
#include "core/message/WindowMessages.h"
#include "core/user/User.h"

namespace MenuCommands {

std::string userCentreAddress()
{
    User& user = *User::current();
    std::string base = user.getWebBase();
    if (base.empty())
        base = user.serviceAddress().origin() + user.serviceAddress().prefix();
    if (base.empty() || base.back() != '/')
        base += '/';
    return base + "api/user_login.html?open_key=" + Utils::urlEscape(user.getOpenKey());
}

void run(CMainWnd& window, const MakerPages& pages, const QString& name)
{
    const auto is = [&name](const char* element) { return name.compare(QLatin1String(element), Qt::CaseInsensitive) == 0; };
    if (is("BtnCenter")) {
        if (User::current()->isLoggedIn())
            DesktopUtils::shellOpen(userCentreAddress());
    } else if (is("BtnFeedback")) {
        window.openFeedbackWindow();
    } else if (is("BtnAbout")) {
        DesktopUtils::shellOpen(pages.about);
    } else if (is("BtnUpdate")) {
        window.checkForUpdate();
    } else if (is("BtnLogOff")) {
        MessageSink::current().post(window.seamHandle(), WindowMessages::WM_UI_NOTIFY,
                                    WindowMessages::Notify::LoggedOffElsewhere, std::make_unique<NotifyNumber>(1));
    } else if (is("exit")) {
        window.close();
    }
}

} // namespace MenuCommands
