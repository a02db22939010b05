#pragma once

#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace vistado::test {

// A TCP server on 127.0.0.1 for replies an HTTP library will not send: it
// reads each request's head and answers with the given bytes exactly, then
// closes the connection. Without a reply it accepts and never says a word.
class RawServer {
public:
    explicit RawServer(std::optional<std::string> reply);
    ~RawServer();
    RawServer(const RawServer&) = delete;
    RawServer& operator=(const RawServer&) = delete;

    int port() const { return listenPort; }
    int connections() const { return connectionCount; }
    std::string url(const std::string& path = "/") const;

private:
    void serve();
    void answer(int client);

    std::optional<std::string> reply;
    int listener = -1;
    int wake[2] = {-1, -1};
    int listenPort = 0;
    std::atomic<int> connectionCount{0};
    std::vector<int> silentClients;  // owned by the serving thread
    std::thread thread;
};

// A port on 127.0.0.1 that refuses connections: bound, never listening.
class RefusingPort {
public:
    RefusingPort();
    ~RefusingPort();
    RefusingPort(const RefusingPort&) = delete;
    RefusingPort& operator=(const RefusingPort&) = delete;

    int port() const { return listenPort; }
    std::string url(const std::string& path = "/") const;

private:
    int socket = -1;
    int listenPort = 0;
};

}  // namespace vistado::test
