#pragma once
// How text values sit in the configuration document. The JSON writer replaces bytes that are
// not valid UTF-8, so such a value (a file name from a non-UTF-8 file system) is stored as
// {"hex": "<its bytes in hexadecimal>"} and turned back into the same bytes when read. Valid
// UTF-8 stays a plain string, so files written before load unchanged, and a reader that only
// knows strings skips the few entries it cannot show.

#include <json/value.h>

#include <optional>
#include <string>

namespace StoredText {

bool isValidUtf8(const std::string& text);

Json::Value encode(const std::string& text);

// Puts every string in the value that is not valid UTF-8 (raw bytes in a hand-edited file)
// into its stored form, so that writing the value keeps the bytes.
void encodeInvalidStrings(Json::Value& value);

// The text of a plain string or of an encoded value; nothing for other values.
std::optional<std::string> decode(const Json::Value& value);

} // namespace StoredText
