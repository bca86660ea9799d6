#pragma once
// The sign-in dialog (form LoginWnd.ui). Chinese interface: a WeChat QR code that is polled
// while it is valid, SMS sign-in and phone binding. English interface: e-mail sign-up and
// sign-in. Replies come from its LoginWndAction through the message seam; on a sign-in the
// identity is stored, the owner window gets WM_USER_REFRESH and the dialog closes with 1.
// Every countdown and poll stops when the dialog closes, and later replies change nothing.

#include "gui/dialogs/FramelessDialog.h"
#include "gui/seam/SeamWindow.h"

#include <QSize>
#include <QString>
#include <QTimer>

#include <memory>

namespace Ui {
class LoginWnd;
}
class LoginWndAction;
class QAbstractButton;
class QLabel;
class QLineEdit;

class LoginWnd : public FramelessDialog, public SeamWindow {
    Q_OBJECT

public:
    static constexpr QSize kSize{720, 501};
    static constexpr int kQrSeconds = 60;

    // owner: the window told of a sign-in (0: none).
    explicit LoginWnd(WindowHandle owner, QWidget* parent = nullptr);
    ~LoginWnd() override;

    // Builds the pages for the interface language and, in Chinese, fetches the first QR code.
    void initWindow();

    std::intptr_t handleSeamMessage(int message, std::intptr_t wParam,
                                    std::unique_ptr<MessagePayload> payload) override;

    // The period of one countdown second (1000 ms; pictures and tests may shorten it).
    void setTickInterval(int ms) { m_tickMs = ms; }
    // Whether the countdown the actions know by this number (kQrTimer, ...) runs.
    bool isTimerActive(int id) const;
    const std::shared_ptr<LoginWndAction>& action() const { return m_action; }

    // The phone must be 11 digits, 1 and a second digit from 3 to 9; the code 4 characters.
    static bool validPhone(const QString& phone);
    static bool validCode(const QString& code);

    // Sends for a new QR code (on opening, refreshbtn, BtnRefresh).
    void refreshQr();

public slots:
    void done(int result) override;

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void connectControls();
    void applyLanguage();
    void onUiNotify(int subCode, std::unique_ptr<MessagePayload> payload);
    void onTransportError();
    void onQrTick();
    void onResendTick(int page);
    void startCodeCountdown(int page);
    void showQrImage(const QString& path);
    void setQrVeil(bool veiled);
    void sendCode(int page);
    void confirmCode(int page);
    void signIn();
    void signUp();
    void onSignUpReply(std::unique_ptr<MessagePayload> payload);
    void onPageOption(int option);
    void showOnlyBindPage();
    // The countdown of that number; null for any other.
    QTimer* countdown(int id);
    QTimer& resendTimer(int page);
    // Tells the owner about the new identity and closes.
    void finishSignIn(const std::string& userId, const std::string& openKey);

    QLineEdit* phoneEdit(int page) const;
    QLineEdit* codeEdit(int page) const;
    QAbstractButton* sendButton(int page) const;
    QLabel* promptLabel(int page) const;
    int& resendSeconds(int page) { return page == 1 ? m_resendSeconds1 : m_resendSeconds2; }

    std::unique_ptr<Ui::LoginWnd> m_ui;
    WindowHandle m_owner;
    std::shared_ptr<LoginWndAction> m_action;
    QTimer m_qrTimer;
    QTimer m_smsResendTimer;
    QTimer m_bindResendTimer;
    QString m_qrPath;
    int m_tickMs = 1000;
    int m_qrSeconds = 0;
    int m_resendSeconds1 = 0;
    int m_resendSeconds2 = 0;
    bool m_chinese = true;
};
