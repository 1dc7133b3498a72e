#include "audio/modules/network_socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "audio/errors.h"

namespace audio {

namespace {

std::atomic<resolver_function> test_resolver{nullptr};

int system_resolve(const char* host, uint32_t* address) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    if (getaddrinfo(host, nullptr, &hints, &list) != 0 || !list) return err_host_unknown;
    *address = reinterpret_cast<sockaddr_in*>(list->ai_addr)->sin_addr.s_addr;
    freeaddrinfo(list);
    return 0;
}

// What a resolver thread and its caller share. The caller may stop waiting
// and return; the job then lives on through the thread's reference, so the
// thread never writes into freed memory.
struct ResolveJob {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    int result = err_host_unknown;
    uint32_t address = 0;
    std::string host;
};

// The resolver threads still known to the process. Finished ones are joined
// when the next resolution starts; the rest are joined when the process
// ends, so none outlives it.
struct ResolverThreads {
    std::mutex mutex;
    std::vector<std::pair<std::thread, std::shared_ptr<ResolveJob>>> threads;

    void reap() {
        std::lock_guard<std::mutex> lock(mutex);
        for (size_t i = 0; i < threads.size();) {
            bool done;
            {
                std::lock_guard<std::mutex> job_lock(threads[i].second->mutex);
                done = threads[i].second->done;
            }
            if (done) {
                threads[i].first.join();
                threads.erase(threads.begin() + static_cast<long>(i));
            } else {
                i++;
            }
        }
    }
    ~ResolverThreads() {
        for (auto& t : threads) t.first.join();
    }
};

ResolverThreads& resolver_threads() {
    static ResolverThreads threads;
    return threads;
}

int wait_for(int fd, short events, int timeout_ms) {
    pollfd p{fd, events, 0};
    for (;;) {
        int r = poll(&p, 1, timeout_ms < 0 ? -1 : timeout_ms);
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) return err_select_failed;
        if (r == 0) return err_timeout;
        return 0;
    }
}

void fill_local(SocketRecord* s) {
    sockaddr_in local{};
    socklen_t length = sizeof local;
    if (getsockname(s->handle, reinterpret_cast<sockaddr*>(&local), &length) == 0) {
        s->local_port = ntohs(local.sin_port);
        s->local_address = ntohl(local.sin_addr.s_addr);
    }
}

SocketRecord* make_record(int handle, int kind) {
    SocketRecord* s = static_cast<SocketRecord*>(calloc(1, sizeof(SocketRecord)));
    if (!s) {
        close(handle);
        return nullptr;
    }
    s->handle = handle;
    s->kind = kind;
    return s;
}

int channel_receive(void* context, void* buffer, int size, int timeout_ms) {
    return socket_receive(static_cast<SocketRecord*>(context), buffer, size, timeout_ms);
}

int channel_send(void* context, const void* data, int size) {
    return socket_send(static_cast<SocketRecord*>(context), data, size);
}

}  // namespace

void set_resolver_for_tests(resolver_function resolver) { test_resolver = resolver; }

int resolve_host(const char* host, int timeout_ms, uint32_t* address) {
    if (!host || !*host) return err_host_unknown;
    if (*host >= '0' && *host <= '8') {
        // A dotted address: four numbers split by any single characters.
        int n[4];
        char c[3];
        if (sscanf(host, "%d%c%d%c%d%c%d", &n[0], &c[0], &n[1], &c[1], &n[2], &c[2], &n[3]) != 7)
            return err_host_unknown;
        uint32_t a = 0;
        for (int v : n) a = (a << 8) | static_cast<uint32_t>(v & 0xFF);
        *address = htonl(a);
        return 0;
    }
    resolver_threads().reap();
    auto job = std::make_shared<ResolveJob>();
    try {
        job->host = host;
        std::thread thread([job] {
            uint32_t a = 0;
            resolver_function custom = test_resolver.load();
            int r = custom ? custom(job->host.c_str(), &a) : system_resolve(job->host.c_str(), &a);
            std::lock_guard<std::mutex> lock(job->mutex);
            job->result = r;
            job->address = a;
            job->done = true;
            job->finished.notify_all();
        });
        std::lock_guard<std::mutex> lock(resolver_threads().mutex);
        resolver_threads().threads.emplace_back(std::move(thread), job);
    } catch (...) {
        return err_internal;
    }
    std::unique_lock<std::mutex> lock(job->mutex);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
    if (!job->finished.wait_until(lock, deadline, [&] { return job->done; })) return err_timeout;
    if (job->result == 0) *address = job->address;
    return job->result;
}

// connect() runs non-blocking and the caller waits on the socket for at most
// the timeout: no thread is needed to give up in time, and nothing is left
// running behind the caller.
int connect_stream(const char* host, int port, int timeout_ms, SocketRecord** out) {
    *out = nullptr;
    uint32_t address;
    int r = resolve_host(host, timeout_ms, &address);
    if (r < 0) return r;
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    int flags = fcntl(fd, F_GETFL);
    fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(static_cast<uint16_t>(port));
    peer.sin_addr.s_addr = address;
    int error = 0;
    if (connect(fd, reinterpret_cast<sockaddr*>(&peer), sizeof peer) != 0) {
        if (errno != EINPROGRESS) {
            error = errno;
        } else {
            r = wait_for(fd, POLLOUT, timeout_ms);
            if (r == err_timeout) {
                close(fd);
                return err_timeout;
            }
            socklen_t length = sizeof error;
            if (r < 0 || getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = EIO;
        }
    }
    if (error != 0) {
        close(fd);
        if (error == ECONNREFUSED) return err_connection_refused;
        if (error == ETIMEDOUT) return err_timeout;
        return -1;
    }
    fcntl(fd, F_SETFL, flags);
    SocketRecord* s = make_record(fd, 0);
    if (!s) return err_out_of_memory;
    fill_local(s);
    *out = s;
    return 0;
}

int bind_datagram(int port, SocketRecord** out) {
    *out = nullptr;
    int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return err_bind_failed;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(static_cast<uint16_t>(port));
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        close(fd);
        return err_bind_failed;
    }
    SocketRecord* s = make_record(fd, 1);
    if (!s) return err_out_of_memory;
    fill_local(s);
    *out = s;
    return 0;
}

int listen_stream(SocketRecord** out) {
    *out = nullptr;
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return err_bind_failed;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        close(fd);
        return err_bind_failed;
    }
    if (listen(fd, 1) != 0) {
        close(fd);
        return err_listen_failed;
    }
    SocketRecord* s = make_record(fd, 0);
    if (!s) return err_out_of_memory;
    fill_local(s);
    *out = s;
    return 0;
}

int accept_stream(SocketRecord* listener, int timeout_ms, SocketRecord** out) {
    *out = nullptr;
    int r = wait_for(listener->handle, POLLIN, timeout_ms);
    if (r < 0) return r;
    int fd = accept4(listener->handle, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) return err_accept_failed;
    SocketRecord* s = make_record(fd, 0);
    if (!s) return err_out_of_memory;
    fill_local(s);
    *out = s;
    return 0;
}

void socket_close(SocketRecord* socket) {
    if (!socket) return;
    close(socket->handle);
    free(socket);
}

int socket_receive(SocketRecord* socket, void* buffer, int size, int timeout_ms) {
    int r = wait_for(socket->handle, POLLIN, timeout_ms);
    if (r < 0) return r;
    ssize_t n;
    do {
        n = socket->kind == 1
                ? recvfrom(socket->handle, buffer, static_cast<size_t>(size), 0, nullptr, nullptr)
                : recv(socket->handle, buffer, static_cast<size_t>(size), 0);
    } while (n < 0 && errno == EINTR);
    if (n < 0) return err_read_failed;
    // An empty datagram is a datagram, not the end of the stream.
    if (n == 0) return socket->kind == 1 ? 0 : err_socket_closed;
    return static_cast<int>(n);
}

int socket_send(SocketRecord* socket, const void* data, int size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t n = send(socket->handle, p, static_cast<size_t>(size), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0)
            return errno == EPIPE || errno == ECONNRESET ? err_socket_closed : err_write_failed;
        p += n;
        size -= static_cast<int>(n);
    }
    return 0;
}

Channel socket_channel(SocketRecord* socket) {
    return Channel{socket, channel_receive, channel_send};
}

int read_line(Channel& channel, char* line, int capacity, int timeout_ms) {
    if (capacity < 2) return -1;
    int length = 0;
    for (;;) {
        char c;
        if (channel.carry >= 0) {
            c = static_cast<char>(channel.carry);
            channel.carry = -1;
        } else if (channel.receive(channel.context, &c, 1, timeout_ms) <= 0) {
            return -1;
        }
        if (c == '\r') continue;
        if (c == '\n') break;
        // Only a byte beyond a full buffer cuts the line: it starts the next.
        if (length == capacity - 1) {
            channel.carry = static_cast<unsigned char>(c);
            break;
        }
        line[length++] = c;
    }
    line[length] = '\0';
    return length;
}

}  // namespace audio
