#pragma once
// Reading a JSON text whose root must be an object (configuration, reports, replies).

#include <json/value.h>

#include <string_view>

namespace Utils {

// Parses text into root; false for malformed text, a root that is not an object, and nesting
// deeper than the reader allows. strict: no comments, nothing after the object.
bool parseJsonObject(std::string_view text, Json::Value& root, bool strict = false);

} // namespace Utils
