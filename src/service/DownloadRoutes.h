#pragma once
// GET /download/...: the files whose links the API hands out.
//   /download/qr/<guid>.png                    QR image of a login id from GetCode
//   /download/avatar/<user id>.png             avatar of an account (GetUserInfo "photo")
//   /download/ads/<img_key>.png                advertisement picture (GetAds "img_url")
//   /download/updater/<version>/korvex_updater updater on offer (Upgrade "url")

#include "ServicePart.h"

class DownloadRoutes : private ServicePart {
public:
    using ServicePart::ServicePart;

    void handle(const httplib::Request& req, httplib::Response& res);
};
