#include "httpserver.h"

#include <chrono>
#include <stdexcept>

namespace vistado::test {

std::string SeenRequest::header(const std::string& name) const
{
    auto found = headers.find(name);
    return found == headers.end() ? "(none)" : found->second;
}

HttpServer::HttpServer(const std::function<void(httplib::Server&)>& routes)
{
    server.set_pre_routing_handler([this](const httplib::Request& request, httplib::Response&) {
        std::lock_guard guard(lock);
        seenRequests.push_back({request.method, request.version, request.target, request.headers});
        return httplib::Server::HandlerResponse::Unhandled;
    });
    routes(server);
    listenPort = server.bind_to_any_port("127.0.0.1");
    if (listenPort <= 0)
        throw std::runtime_error("no free listenPort");
    thread = std::thread([this] { server.listen_after_bind(); });
    // stop() only reaches a server that has started listening.
    while (!server.is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

HttpServer::~HttpServer()
{
    server.stop();
    thread.join();
}

std::string HttpServer::url(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(listenPort) + path;
}

std::vector<SeenRequest> HttpServer::requests()
{
    std::lock_guard guard(lock);
    return seenRequests;
}

}  // namespace vistado::test
