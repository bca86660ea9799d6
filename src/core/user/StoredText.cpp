#include "core/user/StoredText.h"

#include "core/common/Utf8.h"

namespace StoredText {

namespace {

constexpr const char* kHexKey = "hex";

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

bool isValidUtf8(const std::string& text)
{
    return Utf8::isValid(text);
}

Json::Value encode(const std::string& text)
{
    if (isValidUtf8(text))
        return Json::Value(text);
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(text.size() * 2);
    for (const char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        hex.push_back(kDigits[byte >> 4]);
        hex.push_back(kDigits[byte & 0x0F]);
    }
    Json::Value value(Json::objectValue);
    value[kHexKey] = hex;
    return value;
}

void encodeInvalidStrings(Json::Value& value)
{
    if (value.isString()) {
        if (!isValidUtf8(value.asString()))
            value = encode(value.asString());
        return;
    }
    if (value.isArray() || value.isObject()) {
        for (Json::Value& member : value)
            encodeInvalidStrings(member);
    }
}

std::optional<std::string> decode(const Json::Value& value)
{
    if (value.isString())
        return value.asString();
    if (!value.isObject() || value.size() != 1 || !value[kHexKey].isString())
        return std::nullopt;
    const std::string hex = value[kHexKey].asString();
    if (hex.size() % 2 != 0)
        return std::nullopt;
    std::string text;
    text.reserve(hex.size() / 2);
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = hexDigit(hex[i]);
        const int low = hexDigit(hex[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        text.push_back(static_cast<char>(high * 16 + low));
    }
    return text;
}

} // namespace StoredText
