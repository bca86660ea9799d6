#pragma once
// The program's icon in the notification area and its menu: software update, online help,
// about us, feedback (after bringing the window back) and exit. Activating the icon brings the
// window back.

#include "gui/menu/MakerPages.h"

#include <QObject>
#include <QSystemTrayIcon>

#include <memory>

class QAction;
class QMenu;
class QWidget;

class TrayIcon : public QObject {
    Q_OBJECT
public:
    // Command ids of the menu.
    enum Command { Update = 10, Help = 11, About = 12, Feedback = 13, Exit = 15 };
    // What the mouse did on the icon.
    enum class Mouse { DoubleClick, RightButton, Other };

    TrayIcon(QWidget& window, const MakerPages& pages);
    // Removes the icon from the notification area.
    ~TrayIcon() override;

    // Puts the icon into the notification area.
    void show();
    // A double click shows the window, the right button opens the menu at the cursor; other
    // mouse actions do nothing.
    void onMouse(Mouse mouse);
    void runCommand(int command);
    // The tool tip and the menu texts in the current language.
    void retranslate();

    // Whether the desktop shows tray icons at all.
    static bool available();
    QSystemTrayIcon& icon() { return *m_icon; }
    QMenu& menu() { return *m_menu; }
    // The menu entry of the command id; null if none.
    QAction* action(int command) const;

signals:
    void updateRequested();
    // After the window is back.
    void feedbackRequested();

private:
    void onActivated(QSystemTrayIcon::ActivationReason reason);
    void showWindow();

    QWidget& m_window;
    MakerPages m_pages;
    std::unique_ptr<QMenu> m_menu;
    QSystemTrayIcon* m_icon;
};
