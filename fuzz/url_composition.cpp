// Request addresses: a service base from install.json, the user's texts in the requests that
// escape them, and composed links. Plain http only ever goes to a loopback host, and escaped
// texts stay one query value.

#include "FuzzInput.h"
#include "OfflineUser.h"
#include "core/common/UrlEscape.h"
#include "core/network/Url.h"
#include "core/user/RequestId.h"
#include "core/user/ServiceAddress.h"
#include "core/user/User.h"

namespace {

bool isUnreserved(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

// The value of name in the query, or "\x01" when it is missing.
std::string queryValue(const std::string& url, const std::string& name)
{
    const std::size_t query = url.find('?');
    if (query == std::string::npos)
        return "\x01";
    std::size_t start = query + 1;
    while (start <= url.size()) {
        std::size_t end = url.find('&', start);
        if (end == std::string::npos)
            end = url.size();
        const std::string pair = url.substr(start, end - start);
        if (pair.rfind(name + "=", 0) == 0)
            return pair.substr(name.size() + 1);
        start = end + 1;
    }
    return "\x01";
}

int hexValue(char c)
{
    return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// Percent-decoding; a "%" without two hexadecimal digits stays as it is.
std::string unescape(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const std::string base = input.text();
    const ServiceAddress address = ServiceAddress::parse(base);
    FUZZ_CHECK(address.scheme() == "https" || (address.scheme() == "http" && ServiceAddress::isLoopbackHost(address.host())));

    User& user = keptOfflineUser("url");
    const std::string reason = input.text();
    const std::string escaped = Utils::urlEscape(reason);
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        if (escaped[i] == '%') {
            FUZZ_CHECK(i + 2 < escaped.size() && hexValue(escaped[i + 1]) >= 0 && hexValue(escaped[i + 2]) >= 0);
            i += 2;
        } else {
            FUZZ_CHECK(isUnreserved(escaped[i]));
        }
    }
    FUZZ_CHECK(unescape(escaped) == reason);

    // The error report and the feedback travel escaped, each as exactly one value.
    user.setErrorReason(reason);
    const std::string report = user.buildRequestUrl(RequestId::SetErrorMsg).getUrl();
    FUZZ_CHECK(unescape(queryValue(report, "reason")) == reason);
    const std::string key = input.text(), value = input.text(), content = input.text();
    user.setFeedbackFields(key, value, content);
    const std::string feedback = user.buildRequestUrl(RequestId::Feedback).getUrl();
    FUZZ_CHECK(unescape(queryValue(feedback, "key")) == key);
    FUZZ_CHECK(unescape(queryValue(feedback, "value")) == value);
    FUZZ_CHECK(unescape(queryValue(feedback, "content")) == content);
    FUZZ_CHECK(queryValue(feedback, "token") == User::kApiKey);

    // Any composition of host, path and parameters.
    std::map<std::string, std::string> parameters;
    while (!input.empty() && parameters.size() < 16)
        parameters[input.text()] = input.text();
    const Network::URL url(base, reason, parameters);
    FUZZ_CHECK(url.getUrl().rfind("http://" + base + reason, 0) == 0);
    return 0;
}
