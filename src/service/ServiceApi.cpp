#include "ServiceApi.h"

#include "JsonReply.h"

Json::Value ServiceApi::refused(const std::string& message)
{
    Json::Value result(Json::objectValue);
    result["status"] = false;
    result["error_msg"] = message;
    return JsonReply::ok(result);
}
