#pragma once
// What the route and API classes of the service share: the state they work on.

namespace httplib {
class Server;
struct Request;
struct Response;
}
struct ServiceContext;

class ServicePart {
public:
    explicit ServicePart(ServiceContext& context) : m_context(context) {}

protected:
    ServiceContext& m_context;
};
