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
    if (!reader->parse(begin, end, &root, &errors)) {
        OnParseError(std::string(begin, end), reply.requestId);
        return;
    }
    try {
        OnJsonReply(root, reply.requestId);
    } catch (const Json::Exception& error) {
        OnJsonExceptionError(error, reply.requestId);
    }
}
