#include "rawserver.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace vistado::test {

namespace {

// Binds a TCP socket to a free port on 127.0.0.1; gives the port.
int bindLoopback(int fd)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        throw std::runtime_error("bind failed");
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    return ntohs(address.sin_port);
}

std::string loopbackUrl(int port, const std::string& path)
{
    return "http://127.0.0.1:" + std::to_string(port) + path;
}

}  // namespace

RawServer::RawServer(std::optional<std::string> reply) : reply(std::move(reply))
{
    listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    listenPort = bindLoopback(listener);
    if (::listen(listener, 16) != 0 || ::pipe(wake) != 0)
        throw std::runtime_error("listen failed");
    thread = std::thread(&RawServer::serve, this);
}

RawServer::~RawServer()
{
    char stop = 0;
    (void)!::write(wake[1], &stop, 1);
    thread.join();
    for (int client : silentClients)
        ::close(client);
    ::close(listener);
    ::close(wake[0]);
    ::close(wake[1]);
}

std::string RawServer::url(const std::string& path) const
{
    return loopbackUrl(listenPort, path);
}

void RawServer::serve()
{
    for (;;) {
        pollfd watched[2] = {{listener, POLLIN, 0}, {wake[0], POLLIN, 0}};
        ::poll(watched, 2, -1);
        if (watched[1].revents != 0)
            return;
        int client = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            continue;
        ++connectionCount;
        if (reply) {
            answer(client);
            ::close(client);
        } else {
            silentClients.push_back(client);
        }
    }
}

void RawServer::answer(int client)
{
    std::string head;
    char buffer[1024];
    while (head.find("\r\n\r\n") == std::string::npos) {
        ssize_t got = ::read(client, buffer, sizeof buffer);
        if (got <= 0)
            return;
        head.append(buffer, static_cast<std::size_t>(got));
    }
    const std::string& bytes = *reply;
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        ssize_t written = ::send(client, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (written <= 0)
            return;
        sent += static_cast<std::size_t>(written);
    }
    ::shutdown(client, SHUT_WR);
}

RefusingPort::RefusingPort()
{
    socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    listenPort = bindLoopback(socket);
}

RefusingPort::~RefusingPort()
{
    ::close(socket);
}

std::string RefusingPort::url(const std::string& path) const
{
    return loopbackUrl(listenPort, path);
}

}  // namespace vistado::test
