#include "LoggedTarget.h"

#include <httplib.h>

#include <set>

std::string loggedTarget(const httplib::Request& req)
{
    static const std::set<std::string> kMasked = {"password", "repassword", "code"};
    std::string text = req.path;
    char separator = '?';
    for (const auto& [key, value] : req.params) {
        text += separator + key + "=" + (kMasked.count(key) ? std::string("***") : value);
        separator = '&';
    }
    return text;
}
