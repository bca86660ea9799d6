#pragma once
// What the service's log shows of a request: its path and query fields, with the values of
// passwords and verification codes masked. The client sends them in the query (the wire
// format), so the raw target is never written anywhere.

#include <string>

namespace httplib {
struct Request;
}

// "/index.php?class=System&password=***&type=UserLogin"
std::string loggedTarget(const httplib::Request& req);
