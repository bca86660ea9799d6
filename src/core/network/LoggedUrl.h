#pragma once
// The form of a request address that traces may show: the wire format carries passwords and
// verification codes in the query (the service's own format), and they never reach a trace,
// an error report or a log.

#include <string>

namespace Network {

// The address with the values of "password", "repassword" and "code" replaced by "***".
std::string loggedUrl(const std::string& url);

} // namespace Network
