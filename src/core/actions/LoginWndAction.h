#pragma once
// The login window's action: QR code and its polling, SMS codes, e-mail sign-up and sign-in.
// Replies change the stored identity and report to the login window through the message seam.
// Once the window has closed (detach), replies change nothing.

#include "core/network/CommonWndUserAction.h"

#include <atomic>
#include <memory>
#include <mutex>

class LoginWndAction : public CommonWndUserAction, public std::enable_shared_from_this<LoginWndAction> {
public:
    // window: the login window; owner: the window told of a sign-in with WM_USER_REFRESH.
    LoginWndAction(WindowHandle window, WindowHandle owner) : CommonWndUserAction(window), m_owner(owner) {}

    // The page of the last code request: 1 phone binding, 2 SMS sign-in.
    void setPage(int page) { m_page = page; }
    int page() const { return m_page; }

    // The window is closing: later replies are dropped. Waits for a reply being handled.
    void detach();
    bool detached() const { return m_detached; }

    void OnReply(Network::Reply& reply) override;
    void OnJsonReply(const Json::Value& root, int request) override;
    void OnRequestError(const std::string& body, int request) override;
    void OnParseError(const std::string& body, int request) override;
    void OnJsonExceptionError(const Json::Exception& error, int request) override;

private:
    void onGetCode(const Json::Value& root);
    void onPolling(const Json::Value& root);
    void onSmsCode(const Json::Value& root);
    void onCheckCode(const Json::Value& root);
    void onUserLogin(const Json::Value& root);
    // Stores user_id and open_key of the result and tells the owner.
    void signIn(const Json::Value& result);
    void stopQrTimer() const;
    void post(int message, std::intptr_t wParam = 0) const;

    WindowHandle m_owner;
    std::atomic<int> m_page{1};
    mutable std::mutex m_mutex; // held while a reply is handled, so detach() waits for it
    std::atomic<bool> m_detached{false};
};
