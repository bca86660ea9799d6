#pragma once
// GET /index.php: checks the API key and the product code, then hands the request to the
// handler registered for its "class" and "type".

#include <functional>
#include <map>
#include <string>
#include <utility>

namespace httplib {
struct Request;
struct Response;
}
class ApiRequest;

class ApiDispatcher {
public:
    static constexpr const char* kApiKey = "QX7TN2LW4RB8MZ5D";
    static constexpr const char* kProductCode = "12";

    using Handler = std::function<void(const ApiRequest&, httplib::Response&)>;

    void add(const std::string& className, const std::string& type, Handler handler);
    void handle(const httplib::Request& req, httplib::Response& res) const;

private:
    std::map<std::pair<std::string, std::string>, Handler> m_handlers;
};
