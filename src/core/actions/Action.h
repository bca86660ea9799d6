#pragma once
// The main window's action: account, configuration, advertisement and update replies, with
// the retries of the requests the window cannot do without.

#include "core/network/CommonWndUserAction.h"

#include <chrono>
#include <memory>

class Action : public CommonWndUserAction, public std::enable_shared_from_this<Action> {
public:
    explicit Action(WindowHandle window) : CommonWndUserAction(window) {}

    void OnReply(Network::Reply& reply) override;
    void OnJsonReply(const Json::Value& root, int request) override;
    void OnRequestError(const std::string& body, int request) override;

    // "success" of an object reply, as a boolean or a number; any other shape counts as a
    // plain failure rather than an error in the reply. For the window, which is handed whole
    // update replies and must never throw over their shape.
    static bool replySucceeded(const Json::Value& root);
    // "success" as the replies the action reads are judged: missing is false, a boolean or
    // a number is what it says, and any other shape (the text "true", a reply that is not an
    // object) throws Json::Exception, so the reply counts as one of the wrong shape.
    static bool replyFlag(const Json::Value& root);
    // The wait before the next silent update check after this many failures in a row:
    // 2 s doubling up to 5 minutes.
    static std::chrono::milliseconds updateRetryDelay(int failures);

private:
    void onUserInfo(const Json::Value& root);
    void startTimer(int id, int periodMs) const;
};
