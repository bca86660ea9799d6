#include "core/user/StoredText.h"

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
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char c = s[i];
        std::size_t length = 0;
        unsigned int code = 0;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
            code = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            code = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            code = c & 0x07;
        } else {
            return false;
        }
        if (i + length > n)
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((s[i + k] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (s[i + k] & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8 either.
        if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
            (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
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
