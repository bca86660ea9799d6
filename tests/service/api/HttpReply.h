#pragma once
// One HTTP answer as a test sees it, with the body parsed when it is JSON.

#include <json/value.h>
#include <json/writer.h> // lets test assertions print JSON values

#include <string>

struct HttpReply {
    bool transferred = false; // false when the connection failed or broke off
    int status = 0;
    std::string body;
    std::string contentType;
    bool isJson = false;
    Json::Value json;
};
