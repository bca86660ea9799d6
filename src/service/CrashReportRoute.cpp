#include "CrashReportRoute.h"

#include "JsonReply.h"
#include "ServiceContext.h"
#include "Utf8.h"

#include <httplib.h>
#include <json/reader.h>

#include <memory>

namespace {

bool startsWith(const std::string& text, const char* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

void addField(Json::Value& fields, const std::string& name, const std::string& value)
{
    const std::string key = Utf8::sanitize(name);
    if (!fields.isMember(key))
        fields[key] = Utf8::sanitize(value);
}

// Members of a JSON object body; nested values are kept as their JSON text.
bool addJsonFields(Json::Value& fields, const std::string& body)
{
    Json::CharReaderBuilder builder;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value root;
    if (!reader->parse(body.data(), body.data() + body.size(), &root, nullptr) || !root.isObject())
        return false;
    for (const std::string& name : root.getMemberNames()) {
        const Json::Value& value = root[name];
        addField(fields, name, value.isString() ? value.asString()
                               : value.isConvertibleTo(Json::stringValue) ? value.asString()
                                                                            : JsonReply::text(value));
    }
    return true;
}

} // namespace

void CrashReportRoute::handle(const httplib::Request& req, httplib::Response& res)
{
    Json::Value fields(Json::objectValue);
    std::string attachmentName, attachment;
    for (const auto& [name, value] : req.params)
        addField(fields, name, value);
    for (const auto& [name, part] : req.files) {
        if (part.filename.empty()) {
            addField(fields, name, part.content);
        } else if (attachmentName.empty()) {
            attachmentName = Utf8::sanitize(part.filename);
            attachment = part.content;
        }
    }
    const std::string contentType = req.get_header_value("Content-Type");
    const bool form = startsWith(contentType, "application/x-www-form-urlencoded") || req.is_multipart_form_data();
    if (!req.body.empty() && !form) {
        if (!(startsWith(contentType, "application/json") && addJsonFields(fields, req.body))) {
            attachmentName = "body";
            attachment = req.body;
        }
    }

    if (fields.size() > kMaxFields)
        return JsonReply::fail(res, 413, "too_large", "too many fields");
    for (const std::string& name : fields.getMemberNames()) {
        if (name.size() > 64 || fields[name].asString().size() > kMaxFieldLength)
            return JsonReply::fail(res, 413, "too_large", "field '" + name + "' is too long");
    }
    if (fields.isMember("soft_type") && fields["soft_type"].asString() != "12")
        return JsonReply::fail(res, 403, "bad_soft_type", "unknown product");
    if (fields.empty() && attachment.empty())
        return JsonReply::fail(res, 400, "empty_report", "the report is empty");

    Json::Value reply = JsonReply::ok();
    reply["id"] = static_cast<Json::Int64>(m_context.reports.addCrashReport(fields, attachmentName, attachment));
    JsonReply::send(res, reply);
}
