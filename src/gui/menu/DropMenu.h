#pragma once
// The drop-down menu of the header: feedback, about, update check, log off (only while a user
// is logged in), then exit. A chosen element is posted to the window as WM_MENU_COMMAND with
// its name; the window carries the command out after the menu has closed.

#include "core/message/MessageSink.h"
#include "gui/menu/MakerPages.h"

#include <QMenu>

class DropMenu : public QMenu {
    Q_OBJECT
public:
    DropMenu(WindowHandle window, const MakerPages& pages, bool loggedIn, QWidget* parent = nullptr);

    // The element of that name (BtnFeedback, BtnAbout, BtnUpdate, BtnLogOff, exit); null if none.
    QAction* element(const QString& name) const;

private:
    QAction* addElement(const QString& name, const QString& text, const QString& icon);

    WindowHandle m_window;
};
