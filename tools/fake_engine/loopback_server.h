#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace shareseek::fake {

class LoopbackServer;

// One accepted connection, handed to the server's handler on a thread of its own.
class Connection {
public:
    Connection(int fd, LoopbackServer& server) : fd_(fd), server_(server) {}

    // The next request: its head up to the empty line and a Content-Length body. Nothing
    // when the peer closed the connection or the server is stopping.
    std::optional<std::string> readRequest();
    bool send(std::string_view bytes);
    // Closes with a reset instead of an orderly end.
    void reset();
    // Blocks until the server stops: how a handler stalls.
    void waitForStop();
    bool stopping() const;

private:
    int fd_;
    LoopbackServer& server_;
    std::string buffered_;
};

// A TCP server on 127.0.0.1 at a port the system picks; each connection runs the handler on
// its own thread. The destructor stops the server and waits for every handler.
class LoopbackServer {
public:
    using Handler = std::function<void(Connection&)>;

    explicit LoopbackServer(Handler handler);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int port() const { return port_; }
    // "127.0.0.1:port"
    std::string hostAndPort() const;
    // "http://127.0.0.1:port" followed by `path`
    std::string url(std::string_view path = "/") const;
    int connections() const { return connections_.load(); }
    void stop();

private:
    friend class Connection;
    void acceptLoop();
    void serve(int fd);

    Handler handler_;
    int listenFd_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<int> connections_{0};
    std::mutex mutex_;
    std::condition_variable stopped_;
    std::vector<int> openFds_;
    std::vector<std::thread> threads_;
    std::thread acceptThread_;
};

// The plain reply of a server: a status line, the given header lines, Content-Length and
// the body.
std::string httpResponse(std::string_view body, std::string_view headerLines = "",
                         std::string_view status = "200 OK");

} // namespace shareseek::fake
