#include "gui/menu/MenuCommands.h"

#include "core/common/UrlEscape.h"
#include "core/user/User.h"
#include "gui/common/DesktopUtils.h"
#include "gui/menu/MenuTarget.h"

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

void run(MenuTarget& target, const MakerPages& pages, const QString& name)
{
    const auto is = [&name](const char* element) { return name.compare(QLatin1String(element), Qt::CaseInsensitive) == 0; };
    if (is("BtnCenter")) {
        if (User::current()->isLoggedIn())
            DesktopUtils::shellOpen(userCentreAddress());
    } else if (is("BtnFeedback")) {
        target.openFeedbackWindow();
    } else if (is("BtnAbout")) {
        DesktopUtils::shellOpen(pages.about);
    } else if (is("BtnUpdate")) {
        target.checkForUpdate();
    } else if (is("BtnLogOff")) {
        target.logOff();
    } else if (is("exit")) {
        target.closeWindow();
    }
}

} // namespace MenuCommands
