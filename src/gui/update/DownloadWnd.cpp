#include "gui/update/DownloadWnd.h"

#include "ui_DownloadWnd.h"

#include "core/actions/DownloadAction.h"
#include "core/app/TextId.h"
#include "core/app/TextTable.h"
#include "core/common/Utils.h"
#include "core/message/WindowMessages.h"
#include "core/network/NotifyPayload.h"
#include "core/user/RequestId.h"
#include "core/user/User.h"
#include "gui/common/QtText.h"
#include "gui/dialogs/CMessageWnd.h"

#include <QPushButton>

#include <algorithm>
#include <cmath>

using namespace WindowMessages;

DownloadWnd::DownloadWnd(QWidget* owner)
    : FramelessDialog(owner), SeamWindow(this), m_ui(std::make_unique<Ui::DownloadWnd>())
{
    DownloadAction::setCancelled(false);
    setObjectName(QString::fromLatin1(kWindowName));
    m_ui->setupUi(this);
    setFixedSize(kSize);
    setCaptionStrip(m_ui->Caption);
    setWindowTitle(m_ui->titlelbl->text());
    m_ui->closebtn->setEnabled(true);
    m_ui->StopBtn->setEnabled(true);
    connect(m_ui->closebtn, &QPushButton::clicked, this, &DownloadWnd::stop);
    connect(m_ui->StopBtn, &QPushButton::clicked, this, &DownloadWnd::stop);
}

DownloadWnd::~DownloadWnd()
{
    DownloadAction::setCancelled(true);
}

void DownloadWnd::startDownload(const QString& url, const QString& sha256, std::uint64_t announcedSize)
{
    User* user = User::current();
    const std::string link = url.toStdString();
    if (!user || !DownloadAction::isAllowedLink(link)) {
        // Told the way a failed transfer is, once the window runs.
        MessageSink::current().post(seamHandle(), WM_UI_NOTIFY, Notify::DownloadFinished, nullptr);
        MessageSink::current().post(seamHandle(), WM_CLOSE, 0, nullptr);
        return;
    }
    user->SendRequestTo(RequestId::DownloadUpdater,
                        std::make_shared<DownloadAction>(seamHandle(), sha256.trimmed().toStdString()),
                        Network::URL(link), announcedSize);
}

void DownloadWnd::stop()
{
    DownloadAction::setCancelled(true);
    done(Stopped);
}

void DownloadWnd::reject()
{
    stop();
}

bool DownloadWnd::event(QEvent* event)
{
    return dispatchSeamEvent(event) || FramelessDialog::event(event);
}

std::intptr_t DownloadWnd::handleSeamMessage(int message, std::intptr_t wParam,
                                             std::unique_ptr<MessagePayload> payload)
{
    if (message == WM_DOWNLOAD_PROGRESS) {
        const auto* received = dynamic_cast<NotifyNumber*>(payload.get());
        onProgress(static_cast<double>(static_cast<std::uint32_t>(wParam)),
                   received ? static_cast<double>(received->value) : 0.0);
    } else if (message == WM_UI_NOTIFY) {
        if (wParam == Notify::UpdaterStarted)
            done(UpdaterStarted);
        else if (wParam == Notify::DownloadFinished && isVisible() && !m_showingFailure)
            showFailure();
    } else if (message == WM_CLOSE) {
        // While the failure message is open the window stays behind it; it closes after.
        if (isVisible() && !m_showingFailure)
            done(Stopped);
    }
    return 0;
}

namespace {

// The whole percent received, 1 to 100; 0 when nothing is to be shown (an unknown size, or
// less than 1%).
int percentOf(double received, double total)
{
    if (received == 0 || total == 0)
        return 0;
    return std::clamp(static_cast<int>(std::trunc(received / total * 100)), 0, 100);
}

} // namespace

QString DownloadWnd::statusText(double received, double total)
{
    const int percent = percentOf(received, total);
    if (percent < 1)
        return {};
    return QString::number(percent) + QStringLiteral("% [") + toQt(Utils::formatFileSize(received)) +
           QLatin1Char('/') + toQt(Utils::formatFileSize(total)) + QLatin1Char(']');
}

void DownloadWnd::onProgress(double total, double received)
{
    const int percent = percentOf(received, total);
    if (percent < 1)
        return;
    m_ui->StatueLabel->setText(statusText(received, total));
    m_ui->progress->setValue(percent);
}

void DownloadWnd::showFailure()
{
    const User* user = User::current();
    const QString host = user ? QString::fromStdString(user->serviceAddress().host()) : QString();
    m_showingFailure = true;
    CMessageWnd::showMessage(this, toQt(Glossary::text(TextId::UpdateReminder)),
                             toQt(Glossary::text(TextId::UpdateFailed, fromQt(host))), CMessageWnd::ConfirmOnly);
    m_showingFailure = false;
    if (isVisible())
        done(Stopped);
}
