#pragma once
// An action that reads its reply as JSON and dispatches the outcome.

#include "core/network/AbstractAction.h"

#include <json/value.h>

class AbstractUserAction : public Network::AbstractAction {
public:
    void OnReply(Network::Reply& reply) override;

    virtual void OnJsonReply(const Json::Value& root, int request) = 0;
    virtual void OnRequestError(const std::string& body, int request) = 0;
    virtual void OnParseError(const std::string& body, int request) = 0;
    virtual void OnJsonExceptionError(const Json::Exception& error, int request) = 0;
};
