#include "JsonReply.h"

#include <httplib.h>
#include <json/writer.h>

std::string JsonReply::text(const Json::Value& value)
{
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    builder["emitUTF8"] = true;
    return Json::writeString(builder, value);
}

void JsonReply::send(httplib::Response& res, const Json::Value& value, int status)
{
    res.status = status;
    res.set_content(text(value), "application/json; charset=utf-8");
}

Json::Value JsonReply::ok()
{
    Json::Value reply(Json::objectValue);
    reply["success"] = true;
    return reply;
}

Json::Value JsonReply::ok(const Json::Value& result)
{
    Json::Value reply = ok();
    reply["result"] = result;
    return reply;
}

Json::Value JsonReply::failure(const std::string& code, const std::string& message)
{
    Json::Value reply(Json::objectValue);
    reply["success"] = false;
    reply["error_code"] = code;
    reply["error_msg"] = message;
    return reply;
}

void JsonReply::fail(httplib::Response& res, int status, const std::string& code,
                     const std::string& message)
{
    send(res, failure(code, message), status);
}
