#pragma once
// The web pages behind the links of the API: the terms ("/clause.html", from Goto) and the user
// centre ("/api/user_login.html?open_key=...", below the GetConfig "domain").

#include "ServicePart.h"

class PageRoutes : private ServicePart {
public:
    using ServicePart::ServicePart;

    // False when the path is none of the pages.
    bool handle(const httplib::Request& req, httplib::Response& res);
};
