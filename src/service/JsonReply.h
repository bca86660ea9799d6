#pragma once
// Writing JSON replies: compact, UTF-8 as is, "application/json".

#include <json/value.h>

#include <string>

namespace httplib {
struct Response;
}

class JsonReply {
public:
    static std::string text(const Json::Value& value);
    static void send(httplib::Response& res, const Json::Value& value, int status = 200);

    // {"success": true} with an optional "result".
    static Json::Value ok();
    static Json::Value ok(const Json::Value& result);
    // {"success": false, "error_code": code, "error_msg": message}.
    static Json::Value failure(const std::string& code, const std::string& message);
    // Sends failure(code, message) with the HTTP status.
    static void fail(httplib::Response& res, int status, const std::string& code,
                     const std::string& message);
};
