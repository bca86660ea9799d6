#pragma once
// The program's icon in the notification area and its menu: software update, online help,
// about us, feedback (after bringing the window back) and exit. A double click brings the
// window back. Mouse activity reaches the window as WM_TRAY_NOTIFY with Win32 mouse-message
// numbers, as the shell would send it.

#include "gui/menu/MakerPages.h"

#include <QObject>
#include <QSystemTrayIcon>

#include <memory>

class CMainWnd;
class QAction;
class QMenu;

class TrayIcon : public QObject {
    Q_OBJECT
public:
    static constexpr int kIconId = 123;
    // Command ids of the menu.
    enum Command { Update = 10, Help = 11, About = 12, Feedback = 13, Exit = 15 };
    // Mouse messages of WM_TRAY_NOTIFY.
    static constexpr int kDoubleClick = 515;
    static constexpr int kRightButtonDown = 516;

    TrayIcon(CMainWnd& window, const MakerPages& pages);
    // Removes the icon from the notification area.
    ~TrayIcon() override;

    // Puts the icon into the notification area.
    void show();
    // WM_TRAY_NOTIFY: a double click shows the window, the right button opens the menu at the
    // cursor; other mouse messages do nothing.
    void notify(int mouseMessage);
    void runCommand(int command);
    // The tool tip and the menu texts in the current language.
    void retranslate();

    // Whether the desktop shows tray icons at all.
    static bool available();
    QSystemTrayIcon& icon() { return *m_icon; }
    QMenu& menu() { return *m_menu; }
    // The menu entry of the command id; null if none.
    QAction* action(int command) const;

private:
    void onActivated(QSystemTrayIcon::ActivationReason reason);
    void showWindow();

    CMainWnd& m_window;
    MakerPages m_pages;
    std::unique_ptr<QMenu> m_menu;
    QSystemTrayIcon* m_icon;
};
