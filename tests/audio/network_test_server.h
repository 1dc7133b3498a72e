// Servers on loopback for the network input's tests: a listener whose
// connections are answered by a handler on a thread of their own, and the
// socket helpers that the handlers use. Everything is bounded in time.
#pragma once
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace nettest {

inline void send_all(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n <= 0) return;
        done += static_cast<size_t>(n);
    }
}

// Reads up to and including `terminator`, at most 64 KiB, within 5 s.
inline std::string read_until(int fd, const std::string& terminator) {
    std::string got;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (got.size() < 65536 && got.find(terminator) == std::string::npos &&
           std::chrono::steady_clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) continue;
        char c;
        if (recv(fd, &c, 1, 0) != 1) break;
        got += c;
    }
    return got;
}

inline int listen_loopback(int* port) {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    int one = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    listen(fd, 16);
    socklen_t length = sizeof a;
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &length);
    *port = ntohs(a.sin_port);
    return fd;
}

// Accepts connections until destroyed; each goes to the handler (with the
// connection's number, from 0) on its own thread and is closed after it.
class Server {
public:
    using Handler = std::function<void(int fd, int index)>;
    explicit Server(Handler handler) : handler_(std::move(handler)) {
        listener_ = listen_loopback(&port_);
        acceptor_ = std::thread([this] { run(); });
    }
    ~Server() {
        stop_ = true;
        acceptor_.join();
        for (auto& t : workers_) t.join();
        close(listener_);
    }
    int port() const { return port_; }
    int connections() const { return count_; }
    bool stopping() const { return stop_; }

private:
    void run() {
        while (!stop_) {
            pollfd p{listener_, POLLIN, 0};
            if (poll(&p, 1, 50) <= 0) continue;
            int fd = accept(listener_, nullptr, nullptr);
            if (fd < 0) continue;
            int index = count_++;
            workers_.emplace_back([this, fd, index] {
                handler_(fd, index);
                close(fd);
            });
        }
    }
    Handler handler_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> count_{0};
    std::thread acceptor_;
    std::vector<std::thread> workers_;
};

}  // namespace nettest
