#include "gui/mainwnd/AccountHeader.h"

#include "core/actions/Action.h"
#include "core/app/TextId.h"
#include "core/app/TextTable.h"
#include "core/common/Utils.h"
#include "core/user/RequestId.h"
#include "core/user/User.h"
#include "gui/common/QtText.h"
#include "gui/login/LoginWnd.h"

#include <QToolButton>

namespace {

constexpr int kAvatarSize = 22;

User& user()
{
    return *User::current();
}

} // namespace

AccountHeader::AccountHeader(QWidget& window, QToolButton* button, WindowHandle seam, std::shared_ptr<Action> action)
    : QObject(&window), m_window(window), m_button(button), m_seam(seam), m_action(std::move(action))
{
    connect(&m_statusTimer, &QTimer::timeout, this,
            [this] { user().SendRequest(RequestId::GetLoginStatus, m_action); });
}

void AccountHeader::showStoredAvatar()
{
    const std::string avatar = user().getNickPhotoPath();
    if (user().isLoggedIn() && !avatar.empty() && Utils::pathExists(Utils::utf8ToWide(avatar)))
        showAvatar(Utils::utf8ToWide(avatar));
}

void AccountHeader::showAvatar(const std::wstring& path)
{
    const QPixmap avatar(toQt(path));
    if (!avatar.isNull())
        m_button->setIcon(QIcon(avatar.scaled(kAvatarSize, kAvatarSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    m_button->setText(toQt(Utils::utf8ToWide(user().getUserName())));
}

void AccountHeader::onButton()
{
    if (user().isLoggedIn())
        emit menuRequested();
    else
        openLoginWindow();
}

void AccountHeader::openLoginWindow()
{
    LoginWnd login(m_seam, &m_window);
    login.initWindow();
    login.showModal();
}

void AccountHeader::refresh()
{
    user().SendRequest(RequestId::GetUserInfo, m_action);
}

void AccountHeader::loggedOff()
{
    stopPolling();
    m_button->setIcon(QIcon(QStringLiteral(":/KorvexRes/user.png")));
    showLoginPrompt();
    user().clearConfiguration();
}

void AccountHeader::retranslate()
{
    if (!user().isLoggedIn() || m_button->icon().isNull())
        showLoginPrompt();
}

void AccountHeader::showLoginPrompt()
{
    m_button->setText(toQt(Glossary::text(TextId::LogIn)));
}

void AccountHeader::startPolling(int periodMs)
{
    m_statusTimer.start(periodMs);
}

void AccountHeader::stopPolling()
{
    m_statusTimer.stop();
}
