#include "PageRoutes.h"

#include "HtmlPage.h"
#include "ServiceContext.h"
#include "Utf8.h"

#include <httplib.h>

bool PageRoutes::handle(const httplib::Request& req, httplib::Response& res)
{
    if (req.path == "/clause.html") {
        res.set_content(HtmlPage::render("Korvex terms of use",
                                         "<p>This is a local stand-in service for development and tests. "
                                         "It keeps what it is sent in its own database file and sends "
                                         "nothing anywhere.</p>"),
                        "text/html; charset=utf-8");
        return true;
    }
    if (req.path == "/api/user_login.html") {
        const std::string key = Utf8::sanitize(req.get_param_value("open_key"));
        const std::int64_t userId = key.empty() ? 0 : m_context.accounts.userOfOpenKey(key);
        const auto account = userId ? m_context.accounts.find(userId) : std::nullopt;
        const std::string body = account ? "<p>Signed in as <b>" + HtmlPage::escape(account->username) +
                                               "</b> (user " + std::to_string(account->id) + ").</p>"
                                         : "<p>You are not signed in.</p>";
        res.set_content(HtmlPage::render("Korvex user centre", body), "text/html; charset=utf-8");
        return true;
    }
    return false;
}
