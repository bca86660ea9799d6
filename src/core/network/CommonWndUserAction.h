#pragma once
// An action that tells one window about failures; replies it does not care for are dropped.

#include "core/message/MessageSink.h"
#include "core/network/AbstractUserAction.h"

#include <memory>

class CommonWndUserAction : public AbstractUserAction {
public:
    explicit CommonWndUserAction(WindowHandle window) : m_window(window) {}

    void OnJsonReply(const Json::Value& root, int request) override {}
    void OnRequestError(const std::string& body, int request) override;
    void OnParseError(const std::string& body, int request) override;
    void OnJsonExceptionError(const Json::Exception& error, int request) override;

    WindowHandle window() const { return m_window; }

protected:
    void notify(int subCode, std::unique_ptr<MessagePayload> payload = nullptr,
                std::intptr_t number = 0) const;

    WindowHandle m_window;
};
