#include "gui/mainwnd/HeaderMenus.h"

#include "core/user/User.h"
#include "gui/feedback/SuggestionWnd.h"
#include "gui/mainwnd/AccountHeader.h"
#include "gui/mainwnd/UpdateOffer.h"
#include "gui/menu/DropMenu.h"
#include "gui/menu/MenuCommands.h"
#include "gui/tray/TrayIcon.h"

#include <QCursor>
#include <QTimer>
#include <QToolButton>
#include <QWidget>

HeaderMenus::HeaderMenus(QWidget& window, WindowHandle seam, AccountHeader& account, UpdateOffer& updates,
                         QList<QToolButton*> headerButtons)
    : QObject(&window), m_window(window), m_seam(seam), m_account(account), m_updates(updates),
      m_pages(MakerPages::fromInstallSettings()), m_headerButtons(std::move(headerButtons))
{
}

void HeaderMenus::createTrayIcon()
{
    m_tray = new TrayIcon(m_window, m_pages);
    connect(m_tray, &TrayIcon::updateRequested, this, &HeaderMenus::checkForUpdate);
    connect(m_tray, &TrayIcon::feedbackRequested, this, &HeaderMenus::openFeedbackWindow);
    m_tray->show();
}

void HeaderMenus::showDropMenu()
{
    if (m_dropMenu)
        m_dropMenu->close();
    auto* menu = new DropMenu(m_seam, m_pages, User::current()->isLoggedIn(), &m_window);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    m_dropMenu = menu;
    // The menu holds the mouse while it is open, so the header button that opened it never
    // sees the pointer leave: its hover look is dropped when the menu closes, unless the
    // pointer is really back over it.
    connect(menu, &QMenu::aboutToHide, this, [this] {
        QTimer::singleShot(0, this, [this] {
            for (QToolButton* button : m_headerButtons) {
                button->setDown(false);
                if (!button->rect().contains(button->mapFromGlobal(QCursor::pos()))) {
                    button->setAttribute(Qt::WA_UnderMouse, false);
                    button->update();
                }
            }
        });
    });
    menu->popup(QCursor::pos());
}

void HeaderMenus::runMenuCommand(const QString& name)
{
    MenuCommands::run(*this, m_pages, name);
}

void HeaderMenus::retranslate()
{
    if (m_tray)
        m_tray->retranslate();
}

void HeaderMenus::openFeedbackWindow()
{
    SuggestionWnd window(&m_window);
    window.showModal();
}

void HeaderMenus::checkForUpdate()
{
    m_updates.check();
}

void HeaderMenus::logOff()
{
    m_account.loggedOff();
}

void HeaderMenus::closeWindow()
{
    m_window.close();
}

DropMenu* HeaderMenus::dropMenu() const
{
    return m_dropMenu.data();
}
