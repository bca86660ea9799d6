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
// Room for a name without taking the title's: the header holds three zone options.
constexpr int kAccountNameWidth = 110;

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
    m_accountShown = true;
    showAccountText();
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
    m_accountShown = false;
    showAccountText();
    user().clearConfiguration();
}

void AccountHeader::retranslate()
{
    showAccountText();
}

void AccountHeader::showAccountText()
{
    // The layout's own text is the invitation to log in; a language switch resets it, so the
    // account's name is put back whenever it is the one to show.
    if (m_accountShown && user().isLoggedIn()) {
        // A long name (an e-mail address) is shortened, so that the title keeps its room.
        const QString name = toQt(Utils::utf8ToWide(user().getUserName()));
        m_button->setText(m_button->fontMetrics().elidedText(name, Qt::ElideMiddle, kAccountNameWidth));
        m_button->setToolTip(name);
    } else {
        m_button->setText(toQt(Glossary::text(TextId::LogIn)));
        m_button->setToolTip(QString());
    }
}

void AccountHeader::startPolling(int periodMs)
{
    m_statusTimer.start(periodMs);
}

void AccountHeader::stopPolling()
{
    m_statusTimer.stop();
}
