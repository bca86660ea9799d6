#pragma once
// Payloads that response actions hand to their windows.

#include "core/message/MessagePayload.h"

#include <json/value.h>

#include <string>

// A file path (QR image, avatar).
struct WidePathPayload : MessagePayload {
    explicit WidePathPayload(std::wstring p) : path(std::move(p)) {}
    std::wstring path;
};

// A copy of part of a reply.
struct JsonPayload : MessagePayload {
    explicit JsonPayload(Json::Value v) : value(std::move(v)) {}
    Json::Value value;
};

// The whole update reply and whether the check was the silent one of start-up.
struct UpgradeInfo : MessagePayload {
    UpgradeInfo(Json::Value r, bool s) : reply(std::move(r)), silent(s) {}
    Json::Value reply;
    bool silent;
};

// A number and a text for the login window's code pages.
struct CodeMessage : MessagePayload {
    CodeMessage(int p, std::wstring m) : page(p), message(std::move(m)) {}
    int page;
    std::wstring message;
};

// The period of a timer to start.
struct TimerPayload : MessagePayload {
    explicit TimerPayload(int ms) : periodMs(ms) {}
    int periodMs;
};
