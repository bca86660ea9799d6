#include "ReportSender.h"

#include "core/common/JsonObject.h"

#include <curl/curl.h>
#include <json/json.h>

#include <memory>

namespace ReportSender {

namespace {

size_t appendBody(char* data, size_t size, size_t count, void* userData)
{
    auto* body = static_cast<std::string*>(userData);
    const size_t n = size * count;
    if (body->size() < 65536)
        body->append(data, n);
    return n;
}

// A reply that says {"success": false} is a refusal even with status 200.
bool replyRefuses(const std::string& body)
{
    Json::Value root;
    return Utils::parseJsonObject(body, root) && root["success"].isBool() && !root["success"].asBool();
}

// Names under ".invalid" never resolve (the built-in default address is one): no lookup.
bool resolvable(const std::string& address)
{
    CURLU* url = curl_url();
    char* host = nullptr;
    bool ok = url && curl_url_set(url, CURLUPART_URL, address.c_str(), 0) == CURLUE_OK &&
              curl_url_get(url, CURLUPART_HOST, &host, 0) == CURLUE_OK && host;
    if (ok) {
        const std::string name = host;
        ok = !name.empty() && !name.ends_with(".invalid") && name != "invalid";
    }
    curl_free(host);
    curl_url_cleanup(url);
    return ok;
}

} // namespace

Outcome send(const std::string& address, const KeptCrashReports::Report& report)
{
    if ((address.rfind("http://", 0) != 0 && address.rfind("https://", 0) != 0) || !resolvable(address))
        return Outcome::Unreachable;
    CURL* handle = curl_easy_init();
    if (!handle)
        return Outcome::Unreachable;
    curl_mime* form = curl_mime_init(handle);
    for (const auto& [name, value] : report.fields) {
        curl_mimepart* part = curl_mime_addpart(form);
        curl_mime_name(part, name.c_str());
        curl_mime_data(part, value.data(), value.size());
    }
    if (!report.attachment.empty()) {
        curl_mimepart* part = curl_mime_addpart(form);
        curl_mime_name(part, "attachment");
        curl_mime_filename(part, report.attachmentName.empty() ? "attachment" : report.attachmentName.c_str());
        curl_mime_type(part, "text/plain");
        curl_mime_data(part, report.attachment.data(), report.attachment.size());
    }
    std::string body;
    curl_easy_setopt(handle, CURLOPT_URL, address.c_str());
    curl_easy_setopt(handle, CURLOPT_MIMEPOST, form);
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(handle, CURLOPT_USERAGENT, "reportis/1.0");
    // The crashed program waits for us; never hang it for long.
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, 5L);
    curl_easy_setopt(handle, CURLOPT_TIMEOUT, 20L);
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    const CURLcode code = curl_easy_perform(handle);
    long status = 0;
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_cleanup(handle);
    curl_mime_free(form);

    if (code != CURLE_OK)
        return Outcome::Unreachable;
    if (status >= 200 && status < 300)
        return replyRefuses(body) ? Outcome::Rejected : Outcome::Sent;
    if (status >= 400 && status < 500 && status != 408 && status != 429)
        return Outcome::Rejected;
    return Outcome::Unreachable;
}

} // namespace ReportSender
