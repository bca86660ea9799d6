#pragma once
// The menus the window offers: the notification-area icon with its menu, and the header's
// drop-down menu, whose commands (WM_MENU_COMMAND) land here; both reach the feedback window,
// the update check, the log-off and the exit.

#include "core/message/MessageSink.h"
#include "gui/menu/MakerPages.h"
#include "gui/menu/MenuTarget.h"

#include <QList>
#include <QObject>
#include <QPointer>

class AccountHeader;
class DropMenu;
class QString;
class QToolButton;
class QWidget;
class TrayIcon;
class UpdateOffer;

class HeaderMenus : public QObject, public MenuTarget {
    Q_OBJECT
public:
    // headerButtons open the drop-down menu; they lose their hover look when it closes.
    HeaderMenus(QWidget& window, WindowHandle seam, AccountHeader& account, UpdateOffer& updates,
                QList<QToolButton*> headerButtons);

    // The icon in the notification area, in the current language.
    void createTrayIcon();
    void showDropMenu();
    // A command chosen in the drop-down menu, by element name.
    void runMenuCommand(const QString& name);
    void retranslate();

    void openFeedbackWindow() override;
    void checkForUpdate() override;
    void logOff() override;
    void closeWindow() override;

    TrayIcon* trayIcon() const { return m_tray; }
    DropMenu* dropMenu() const;
    MakerPages& makerPages() { return m_pages; }

private:
    QWidget& m_window;
    WindowHandle m_seam;
    AccountHeader& m_account;
    UpdateOffer& m_updates;
    MakerPages m_pages;
    TrayIcon* m_tray = nullptr;
    QPointer<DropMenu> m_dropMenu;
    QList<QToolButton*> m_headerButtons;
};
