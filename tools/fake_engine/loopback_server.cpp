#include "fake_engine/loopback_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace shareseek::fake {
namespace {

std::size_t contentLength(std::string_view head) {
    std::string lower(head);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const auto at = lower.find("\r\ncontent-length:");
    if (at == std::string::npos)
        return 0;
    return std::strtoul(lower.c_str() + at + 17, nullptr, 10);
}

} // namespace

std::optional<std::string> Connection::readRequest() {
    while (true) {
        if (const auto end = buffered_.find("\r\n\r\n"); end != std::string::npos) {
            const std::size_t total = end + 4 + contentLength(buffered_.substr(0, end + 2));
            if (buffered_.size() >= total) {
                std::string request = buffered_.substr(0, total);
                buffered_.erase(0, total);
                return request;
            }
        }
        char chunk[16384];
        const ssize_t got = ::recv(fd_, chunk, sizeof chunk, 0);
        if (got <= 0)
            return std::nullopt;
        buffered_.append(chunk, static_cast<std::size_t>(got));
    }
}

bool Connection::send(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
    return true;
}

void Connection::reset() {
    const linger abortive{1, 0};
    ::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
    ::shutdown(fd_, SHUT_RDWR);
}

void Connection::waitForStop() {
    std::unique_lock lock(server_.mutex_);
    server_.stopped_.wait(lock, [&] { return server_.stopping_.load(); });
}

bool Connection::stopping() const {
    return server_.stopping_.load();
}

LoopbackServer::LoopbackServer(Handler handler) : handler_(std::move(handler)) {
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (listenFd_ < 0 || ::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(listenFd_, 128) != 0 ||
        ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("cannot listen on loopback");
    port_ = ntohs(address.sin_port);
    acceptThread_ = std::thread([this] { acceptLoop(); });
}

LoopbackServer::~LoopbackServer() {
    stop();
}

std::string LoopbackServer::hostAndPort() const {
    return "127.0.0.1:" + std::to_string(port_);
}

std::string LoopbackServer::url(std::string_view path) const {
    return "http://" + hostAndPort() + std::string(path);
}

void LoopbackServer::stop() {
    {
        std::lock_guard lock(mutex_);
        if (stopping_.exchange(true))
            return;
        for (const int fd : openFds_)
            ::shutdown(fd, SHUT_RDWR);
    }
    stopped_.notify_all();
    ::shutdown(listenFd_, SHUT_RDWR);
    acceptThread_.join();
    ::close(listenFd_);
    for (std::thread& thread : threads_)
        thread.join();
}

void LoopbackServer::acceptLoop() {
    while (!stopping_) {
        pollfd waiting{listenFd_, POLLIN, 0};
        if (::poll(&waiting, 1, 50) <= 0)
            continue;
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        std::lock_guard lock(mutex_);
        if (stopping_) {
            ::close(fd);
            break;
        }
        ++connections_;
        openFds_.push_back(fd);
        threads_.emplace_back([this, fd] { serve(fd); });
    }
}

void LoopbackServer::serve(int fd) {
    Connection connection(fd, *this);
    handler_(connection);
    std::lock_guard lock(mutex_);
    std::erase(openFds_, fd);
    ::close(fd);
}

std::string httpResponse(std::string_view body, std::string_view headerLines,
                         std::string_view status) {
    std::string response = "HTTP/1.1 " + std::string(status) + "\r\n";
    response += headerLines;
    response += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    response += "Connection: close\r\n\r\n";
    response += body;
    return response;
}

} // namespace shareseek::fake
