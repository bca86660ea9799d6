#include "ApiClient.h"

#include <httplib.h>
#include <json/reader.h>

#include <memory>

namespace {

HttpReply toReply(const httplib::Result& result)
{
    HttpReply reply;
    if (!result)
        return reply;
    reply.transferred = true;
    reply.status = result->status;
    reply.body = result->body;
    reply.contentType = result->get_header_value("Content-Type");
    Json::CharReaderBuilder builder;
    builder["failIfExtra"] = true;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    reply.isJson = reader->parse(reply.body.data(), reply.body.data() + reply.body.size(), &reply.json, nullptr);
    return reply;
}

} // namespace

std::string ApiClient::escape(const std::string& value)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : value) {
        const bool alnum = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (alnum || c == '-' || c == '.' || c == '_' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

std::string ApiClient::query(const Fields& fields)
{
    std::string out;
    for (const auto& [key, value] : fields)
        out += (out.empty() ? "" : "&") + key + "=" + escape(value);
    return out;
}

HttpReply ApiClient::call(const std::string& className, const std::string& type, const Fields& fields)
{
    Fields all = fields;
    all["token"] = ServiceProcess::kApiKey;
    all["soft_type"] = ServiceProcess::kProductCode;
    all["class"] = className;
    all["type"] = type;
    return get("/index.php?" + query(all));
}

HttpReply ApiClient::get(const std::string& target)
{
    httplib::Client client(m_service.host(), m_service.port());
    client.set_url_encode(false);
    return toReply(client.Get(target));
}

HttpReply ApiClient::post(const std::string& target, const std::string& body, const std::string& contentType)
{
    httplib::Client client(m_service.host(), m_service.port());
    client.set_url_encode(false);
    return toReply(client.Post(target, body, contentType));
}

Json::Value ApiClient::list(const std::string& name)
{
    const HttpReply reply = get("/control/" + name);
    return reply.isJson ? reply.json["result"] : Json::Value();
}
