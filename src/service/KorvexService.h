#pragma once
// The stand-in online service: one HTTP server on 127.0.0.1 in front of the SQLite file.
//
//   GET  /index.php        the API (see ApiDispatcher and the *Api classes)
//   GET  /download/...     files the API links to (DownloadRoutes)
//   GET|POST /senderrormsg crash reports (CrashReportRoute)
//   GET  /clause.html, /api/user_login.html   pages (PageRoutes)
//   /control/...           test control (ControlRoutes), unless switched off
// Every error reply is JSON: {"success": false, "error_code", "error_msg"}.

#include "AdvertisementApi.h"
#include "ApiDispatcher.h"
#include "ControlRoutes.h"
#include "CrashReportRoute.h"
#include "DownloadRoutes.h"
#include "EmailAccountApi.h"
#include "PageRoutes.h"
#include "ServiceContext.h"
#include "ServiceOptions.h"
#include "SmsApi.h"
#include "SystemApi.h"
#include "UpgradeApi.h"
#include "WeChatApi.h"

#include <memory>

namespace httplib {
class Server;
struct Request;
struct Response;
}

class KorvexService {
public:
    // Opens the database; throws std::runtime_error when it cannot.
    explicit KorvexService(const ServiceOptions& options);
    ~KorvexService();

    // Binds 127.0.0.1:port (0: a free port) and returns the port, or -1.
    int bind(int port);
    // Serves until stop(); false when serving could not start.
    bool run();
    // May be called from any thread.
    void stop();

private:
    void setUpServer();
    void serveGet(const httplib::Request& req, httplib::Response& res);
    bool applyFault(const httplib::Request& req, httplib::Response& res);

    ServiceOptions m_options;
    ServiceContext m_context;
    ApiDispatcher m_api;
    WeChatApi m_weChat;
    SmsApi m_sms;
    EmailAccountApi m_email;
    SystemApi m_system;
    UpgradeApi m_upgrade;
    AdvertisementApi m_ads;
    DownloadRoutes m_downloads;
    PageRoutes m_pages;
    CrashReportRoute m_crashReports;
    ControlRoutes m_control;
    std::unique_ptr<httplib::Server> m_server;
};
