#include "gui/mainwnd/UpdateOffer.h"

#include "core/actions/Action.h"
#include "core/actions/ActionPayloads.h"
#include "core/app/TextId.h"
#include "core/app/TextTable.h"
#include "core/user/RequestId.h"
#include "core/user/User.h"
#include "gui/common/QtText.h"
#include "gui/dialogs/CMessageWnd.h"
#include "gui/update/DownloadWnd.h"

UpdateOffer::UpdateOffer(QWidget& window, std::shared_ptr<Action> action)
    : QObject(&window), m_window(window), m_action(std::move(action))
{
}

void UpdateOffer::check()
{
    User::current()->SendRequest(RequestId::Upgrade, m_action);
}

void UpdateOffer::onReply(const UpgradeInfo& info)
{
    if (!info.reply.isObject())
        return;
    if (Action::replySucceeded(info.reply)) {
        const auto text = [&](const char* key) {
            const Json::Value& value = info.reply[key];
            return value.isString() ? QString::fromStdString(value.asString()) : QString();
        };
        const int result = CMessageWnd::showMessageWithButtons(
            &m_window, toQt(Glossary::text(TextId::UpdateTitle)), text("msg"), toQt(Glossary::text(TextId::Update)),
            toQt(Glossary::text(TextId::Cancel)), CMessageWnd::ConfirmCancel);
        // The size, when the offer names one, is all the download may bring.
        const Json::Value& size = info.reply["size"];
        if (result == CMessageWnd::Confirm)
            openDownloadWindow(text("url"), text("sha256"), size.isUInt64() ? size.asUInt64() : 0);
    } else if (!info.silent) {
        CMessageWnd::showMessage(&m_window, toQt(Glossary::text(TextId::Prompt)),
                                 toQt(Glossary::text(TextId::NewestVersion)), CMessageWnd::ConfirmOnly);
    }
}

void UpdateOffer::openDownloadWindow(const QString& url, const QString& sha256, std::uint64_t size)
{
    DownloadWnd window(&m_window);
    window.startDownload(url, sha256, size);
    if (window.showModal() == DownloadWnd::UpdaterStarted)
        emit updaterStarted();
}
