#pragma once

#include <httplib.h>

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vistado::test {

// A request as the server saw it, before its body was read.
struct SeenRequest {
    std::string method;
    std::string version;
    std::string target;  // path and query
    std::multimap<std::string, std::string, httplib::detail::ci> headers;

    // The header's value, or "(none)" when the request did not carry it.
    std::string header(const std::string& name) const;
};

// A real HTTP server on a free port of 127.0.0.1, in this process. It records
// every request and answers through the routes the test sets up.
class HttpServer {
public:
    explicit HttpServer(const std::function<void(httplib::Server&)>& routes);
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    int port() const { return listenPort; }
    std::string url(const std::string& path) const;
    std::vector<SeenRequest> requests();

private:
    httplib::Server server;
    std::mutex lock;
    std::vector<SeenRequest> seenRequests;
    int listenPort = 0;
    std::thread thread;
};

}  // namespace vistado::test
