#pragma once
// The account part of the header: the login button with the avatar and the user's name, the
// login window, and the login-status polling while somebody is logged in.

#include "core/message/MessageSink.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <string>

class Action;
class QToolButton;
class QWidget;

class AccountHeader : public QObject {
    Q_OBJECT
public:
    AccountHeader(QWidget& window, QToolButton* button, WindowHandle seam, std::shared_ptr<Action> action);

    // The avatar stored by an earlier run, when a user is still logged in.
    void showStoredAvatar();
    void showAvatar(const std::wstring& path);
    // The button's click: the login window when nobody is logged in, else menuRequested.
    void onButton();
    void openLoginWindow();
    // Asks the service for the user's details again (after a login).
    void refresh();
    // The user is gone: polling stops, the button shows the login prompt, the record is cleared.
    void loggedOff();
    void retranslate();

    void startPolling(int periodMs);
    void stopPolling();
    bool isPolling() const { return m_statusTimer.isActive(); }

signals:
    void menuRequested();

private:
    // The button's text: the user's name once the account is shown, else the login prompt.
    void showAccountText();

    QWidget& m_window;
    QToolButton* m_button;
    WindowHandle m_seam;
    std::shared_ptr<Action> m_action;
    QTimer m_statusTimer;
    bool m_accountShown = false;
};
