// The network input's sockets: name resolution and connection with time-outs,
// receive with a time-out, and the line reader of the protocol replies. The
// replies are read through a Channel so that the readers can also be fed
// from memory.
#pragma once
#include <cstdint>

namespace audio {

// One open socket. kind: 0 stream, 1 datagram.
struct SocketRecord {
    int handle;
    int kind;
    int local_port;
    uint32_t local_address;  // host byte order
    SocketRecord* control;   // ftp: the control connection of a data socket
};

// Where reply bytes come from and requests go to.
struct Channel {
    void* context;
    // Like socket_receive: a byte count, -103, -206, -302 or -502.
    int (*receive)(void* context, void* buffer, int size, int timeout_ms);
    // 0 when everything was sent, else a negative code.
    int (*send)(void* context, const void* data, int size);
    // A byte the line reader took beyond a line that filled its buffer:
    // it begins the next line (-1 for none).
    int carry = -1;
};
Channel socket_channel(SocketRecord* socket);

// The host's IPv4 address (network byte order): 0, -208 unknown, -103 the
// resolver took longer than the timeout, -102 no thread.
int resolve_host(const char* host, int timeout_ms, uint32_t* address);
// A connected stream socket: 0, -103, -202, -208, -1 for other failures.
int connect_stream(const char* host, int port, int timeout_ms, SocketRecord** out);
// A datagram socket bound to the port on all local addresses: 0 or -207.
int bind_datagram(int port, SocketRecord** out);
// A listening stream socket on a port of the system's choosing: 0, -204, -207.
int listen_stream(SocketRecord** out);
// Accepts one connection within the timeout: 0, -302, -103, -203.
int accept_stream(SocketRecord* listener, int timeout_ms, SocketRecord** out);
void socket_close(SocketRecord* socket);

// Waits at most timeout_ms (negative: for ever) for data, then receives:
// a byte count, -302, -103, -502, or -206 when the peer closed.
int socket_receive(SocketRecord* socket, void* buffer, int size, int timeout_ms);
int socket_send(SocketRecord* socket, const void* data, int size);

// Reads one line into `line` (capacity bytes, terminated), byte by byte with
// the timeout per byte; CR dropped, LF ends it. A line of capacity - 1
// characters is read whole with its line end; a longer one is cut and its
// rest comes as the next line. Returns the length, or -1 when a receive fails.
int read_line(Channel& channel, char* line, int capacity, int timeout_ms);

// Test hook: a resolver that stands in for the system's (null restores it).
// It runs on the resolver thread.
typedef int (*resolver_function)(const char* host, uint32_t* address);
void set_resolver_for_tests(resolver_function resolver);

}  // namespace audio
