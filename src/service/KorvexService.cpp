#include "KorvexService.h"

#include "DeadlineServer.h"
#include "JsonReply.h"
#include "LoggedTarget.h"

#include <httplib.h>

#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>

namespace {

constexpr size_t kMaxPayload = 4 * 1024 * 1024;

std::string readWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string statusText(int status)
{
    switch (status) {
    case 400: return "bad request";
    case 404: return "not found";
    case 405: return "method not allowed";
    case 413: return "payload too large";
    case 414: return "request line too long";
    case 416: return "range not satisfiable";
    case 500: return "internal error";
    default: return "HTTP error " + std::to_string(status);
    }
}

} // namespace

KorvexService::KorvexService(const ServiceOptions& options)
    : m_options(options), m_context(options.database), m_weChat(m_context), m_sms(m_context),
      m_email(m_context), m_system(m_context), m_upgrade(m_context), m_ads(m_context),
      m_downloads(m_context), m_pages(m_context), m_crashReports(m_context), m_control(m_context),
      m_server(std::make_unique<DeadlineServer>())
{
    if (!options.updaterFile.empty())
        m_context.updates.setContent(readWholeFile(options.updaterFile));
    m_weChat.registerWith(m_api);
    m_sms.registerWith(m_api);
    m_email.registerWith(m_api);
    m_system.registerWith(m_api);
    m_upgrade.registerWith(m_api);
    m_ads.registerWith(m_api);
    setUpServer();
}

KorvexService::~KorvexService() = default;

int KorvexService::bind(int port)
{
    if (port == 0)
        port = m_server->bind_to_any_port("127.0.0.1");
    else if (!m_server->bind_to_port("127.0.0.1", port))
        port = -1;
    if (port > 0)
        m_context.baseUrl = "http://127.0.0.1:" + std::to_string(port);
    return port > 0 ? port : -1;
}

bool KorvexService::run()
{
    return m_server->listen_after_bind();
}

void KorvexService::stop()
{
    m_server->stop();
}

void KorvexService::setUpServer()
{
    httplib::Server& server = *m_server;
    server.set_payload_max_length(kMaxPayload);
    server.set_keep_alive_timeout(2);
    // A silent client is given up soon; one that trickles its header meets the header's
    // deadline, and the workers grow while all are busy (DeadlineServer), so slow clients
    // cannot stop the service from answering everyone else.
    server.set_read_timeout(2);
    server.set_write_timeout(5);

    // GET and HEAD are routed here by plain string comparison rather than by the server's
    // regular-expression table; other methods go on to the handlers registered below.
    server.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
        if (req.method != "GET" && req.method != "HEAD")
            return httplib::Server::HandlerResponse::Unhandled;
        serveGet(req, res);
        return httplib::Server::HandlerResponse::Handled;
    });
    server.Post("/senderrormsg", [this](const httplib::Request& req, httplib::Response& res) {
        if (!applyFault(req, res))
            m_crashReports.handle(req, res);
    });
    if (m_options.control)
        m_control.install(server);

    server.set_error_handler(httplib::Server::HandlerWithResponse(
        [](const httplib::Request&, httplib::Response& res) {
            if (!res.body.empty())
                return httplib::Server::HandlerResponse::Unhandled;
            JsonReply::fail(res, res.status, "http_" + std::to_string(res.status), statusText(res.status));
            return httplib::Server::HandlerResponse::Handled;
        }));
    server.set_exception_handler([](const httplib::Request& req, httplib::Response& res, std::exception_ptr ep) {
        std::string what = "unknown exception";
        try {
            std::rethrow_exception(ep);
        } catch (const std::exception& e) {
            what = e.what();
        } catch (...) {
        }
        std::cerr << "korvex-service: error in " << req.method << " " << req.path << ": " << what << std::endl;
        JsonReply::fail(res, 500, "internal_error", "internal error");
    });
    if (m_options.verbose) {
        server.set_logger([](const httplib::Request& req, const httplib::Response& res) {
            std::cerr << "korvex-service: " << req.method << " " << loggedTarget(req) << " -> " << res.status << std::endl;
        });
    }
}

void KorvexService::serveGet(const httplib::Request& req, httplib::Response& res)
{
    const std::string& path = req.path;
    if (path.rfind("/control/", 0) == 0) {
        if (m_options.control)
            return m_control.handleGet(req, res);
        return JsonReply::fail(res, 404, "not_found", "not found");
    }
    if (applyFault(req, res))
        return;
    if (path == "/index.php")
        return m_api.handle(req, res);
    if (path.rfind("/download/", 0) == 0)
        return m_downloads.handle(req, res);
    if (path == "/senderrormsg")
        return m_crashReports.handle(req, res);
    if (!m_pages.handle(req, res))
        JsonReply::fail(res, 404, "not_found", "not found");
}

bool KorvexService::applyFault(const httplib::Request& req, httplib::Response& res)
{
    const std::string type = req.path == "/index.php" ? req.get_param_value("type") : std::string();
    const auto fault = m_context.faults.take(req.path, type);
    if (fault)
        FaultInjector::apply(*fault, res);
    return fault.has_value();
}
