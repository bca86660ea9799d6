#include "core/network/AbstractUserAction.h"

#include <json/json.h>

#include <cstring>
#include <memory>

void AbstractUserAction::OnReply(Network::Reply& reply)
{
    if (!reply.succeeded) {
        OnRequestError(reply.body, reply.requestId);
        return;
    }
    // The body counts up to its first NUL byte.
    const char* begin = reply.body.c_str();
    const char* end = begin + std::strlen(begin);
    Json::CharReaderBuilder builder;
    Json::Value root;
    std::string errors;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    bool parsed = false;
    try {
        parsed = reader->parse(begin, end, &root, &errors);
    } catch (const Json::Exception&) {
        // Nested deeper than the reader's limit: not a reply we can read either.
        parsed = false;
    }
    if (!parsed) {
        OnParseError(std::string(begin, end), reply.requestId);
        return;
    }
    try {
        OnJsonReply(root, reply.requestId);
    } catch (const Json::Exception& error) {
        OnJsonExceptionError(error, reply.requestId);
    }
}
