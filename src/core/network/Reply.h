#pragma once
// The outcome of one transfer as an action sees it.

#include "core/network/Url.h"

#include <string>

namespace Network {

struct Reply {
    std::string body;        // everything received; on failure followed by the libcurl code
    bool succeeded = false;  // libcurl result 0; the HTTP status is not examined
    URL url;
    int requestId = 0;
    long httpStatus = 0;     // for diagnostics only
};

} // namespace Network
