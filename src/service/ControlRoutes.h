#pragma once
// /control/...: endpoints for tests and for a developer at the desk, never used by the client.
//
// GET  /control/sms?phone=P            last code sent to the phone: {"success", "phone", "code"}
// GET  /control/feedback               {"success", "result": [stored feedback]}
// GET  /control/error-reports          {"success", "result": [SetErrorMsg reports]}
// GET  /control/crash-reports          {"success", "result": [/senderrormsg reports]}
// GET  /control/statistics             {"success", "result": [statistics]}
// GET  /control/account?user_id=U (or phone=, email=)  {"success", "result": {account}}
// GET  /control/update                 the update on offer
// POST /control/qr/scan?guid=G[&user_id=U | &username=N&phone=P]
//                                      the QR login id G is scanned by account U, or by a new
//                                      account; {"success", "user_id"}
// POST /control/update?version=V[&msg=M]  offer version V ("" offers none); a body sent as
//                                      application/octet-stream becomes the updater
// POST /control/fault?kind=error|malformed|disconnect|none[&type=T][&path=P][&count=N]
//                                      spoil the next N replies (of API type T, or of paths
//                                      starting with P); "none" disarms every fault
// POST /control/config?binding_phone=true|false&check_mail=true|false
// POST /control/session/end?user_id=U  sign the user out everywhere

#include "ServicePart.h"

class ControlRoutes : private ServicePart {
public:
    using ServicePart::ServicePart;

    void handleGet(const httplib::Request& req, httplib::Response& res);
    // Registers the POST endpoints with the server.
    void install(httplib::Server& server);

private:
    void scanQr(const httplib::Request& req, httplib::Response& res);
    void setUpdate(const httplib::Request& req, httplib::Response& res);
    void setFault(const httplib::Request& req, httplib::Response& res);
    void setConfig(const httplib::Request& req, httplib::Response& res);
    void endSession(const httplib::Request& req, httplib::Response& res);
    void showAccount(const httplib::Request& req, httplib::Response& res);
    void showUpdate(httplib::Response& res);
};
