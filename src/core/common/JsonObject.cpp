#include "core/common/JsonObject.h"

#include <json/reader.h>

#include <memory>

namespace Utils {

bool parseJsonObject(std::string_view text, Json::Value& root, bool strict)
{
    Json::CharReaderBuilder builder;
    if (strict)
        Json::CharReaderBuilder::strictMode(&builder.settings_);
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    try {
        return reader->parse(text.data(), text.data() + text.size(), &root, nullptr) && root.isObject();
    } catch (const Json::Exception&) {
        return false; // nested too deep
    }
}

} // namespace Utils
