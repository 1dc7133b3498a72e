#include "audio/modules/network_input.h"

#include <strings.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "audio/errors.h"
#include "audio/modules/module_report.h"
#include "audio/modules/network_reply.h"
#include "audio/modules/network_socket.h"
#include "audio/modules/network_url.h"

using namespace audio;

namespace {

enum : int {
    connect_timeout_ms = 10000,
    accept_timeout_ms = 10000,
    max_redirects = 8,
};

enum : int {
    progress_connecting = 16,
    progress_connected = 17,
    progress_underflow = 19,
    progress_refilled = 20,
    progress_fill_level = 21,
    progress_end_of_stream = 22,
};

struct NetworkInput {
    ModuleEntry* entry;
    Engine* engine;
    char* name;
    UrlRecord url;
    SocketRecord* connection;
    int connected;
    // Settings.
    int buffer_size;
    int max_packet;
    int high_mark;
    int read_timeout;
    int max_accu;
    int force_fill_zone;
    // The ring: [begin, end) of buffer, the max_packet bytes behind end take
    // the overrun of a receive.
    uint8_t* begin;
    uint8_t* end;
    uint8_t* write;
    uint8_t* read;
    uint8_t* buffer;
    int available;
    int threshold;
    int accumulated;
    int underflow;
    int64_t content_length;
    int end_of_stream;
};

void progress(NetworkInput* in, int code, int value, const char* message) {
    Engine* e = in->engine;
    if (e && e->report_progress)
        e->report_progress(e->user, in->entry ? in->entry->id : 0, code, value, message);
}

int setting(Engine* engine, const char* name, int fallback) {
    int value = fallback;
    if (engine && engine->get_integer_variable &&
        engine->get_integer_variable(engine, name, &value) < 0)
        value = fallback;
    return value;
}

int probe(const char* name) {
    if (!name) return -1;
    for (const char* prefix : {"http://", "ftp://", "udp://", "tcp://"})
        if (strncasecmp(name, prefix, strlen(prefix)) == 0) return 0;
    return -1;
}

int query(ModuleInfo* info, int flags) {
    if (!info) return err_invalid_parameters;
    if (flags & query_module) {
        module_info_text(info->name, "Network Streaming Module");
        module_info_text(info->description, "Version 1.4");
    }
    if (flags & query_device_count) info->index_or_count = 1;
    if ((flags & query_module) || !(flags & query_device)) return 0;
    if (info->index_or_count > 0) return err_invalid_parameters;
    module_info_text(info->name, "http://*, ftp://*, udp://*");
    module_info_text(info->description, "streaming url");
    info->device_flags = 1;
    return 0;
}

int create(void** instance, const char* name, ModuleEntry* entry, Engine* engine) {
    NetworkInput* in = static_cast<NetworkInput*>(calloc(1, sizeof(NetworkInput)));
    if (!in) return err_out_of_memory;
    in->entry = entry;
    in->engine = engine;
    if (!instance || !name || !*name) {
        module_report(engine, entry, "internal error", "null params or null/empty output name");
        free(in);
        return err_invalid_parameters;
    }
    in->buffer_size = setting(engine, "INPUT.STREAM.BUFFER-SIZE", 0x20000);
    in->max_packet = setting(engine, "INPUT.STREAM.MAX-PACKET-SIZE", 8192);
    in->high_mark = setting(engine, "INPUT.STREAM.HIGH-MARK", 0x4000);
    in->read_timeout = setting(engine, "INPUT.STREAM.READ-TIMEOUT", 100);
    in->max_accu = setting(engine, "INPUT.STREAM.MAX-ACCU", 2048);
    in->force_fill_zone = setting(engine, "INPUT.STREAM.FORCE-FILL-ZONE", 2048);
    // Settings that cannot make a working ring fall back to the defaults:
    // the ring must hold at least one packet beside the slack behind it,
    // and a high mark the ring cannot reach would starve for ever.
    if (in->max_packet < 1 || in->max_packet > (1 << 20)) in->max_packet = 8192;
    if (in->buffer_size < 2 * in->max_packet + 2 || in->buffer_size > (1 << 28))
        in->buffer_size = in->max_packet + 0x20000;
    int ring = in->buffer_size - in->max_packet;
    if (in->high_mark < 0 || in->high_mark > ring - 1 - in->max_packet)
        in->high_mark = (ring - 1 - in->max_packet) < 0x4000 ? ring - 1 - in->max_packet : 0x4000;
    if (in->read_timeout < 0) in->read_timeout = 100;
    if (in->max_accu < 0) in->max_accu = 2048;
    if (in->force_fill_zone < 0) in->force_fill_zone = 2048;
    in->buffer = static_cast<uint8_t*>(malloc(static_cast<size_t>(in->buffer_size)));
    in->name = strdup(name);
    if (!in->buffer || !in->name) {
        free(in->buffer);
        free(in->name);
        free(in);
        return err_out_of_memory;
    }
    *instance = in;
    return 0;
}

void close_connection(NetworkInput* in) {
    if (!in->connection) return;
    SocketRecord* control = in->connection->control;
    socket_close(in->connection);
    if (control) socket_close(control);
    in->connection = nullptr;
}

int destroy(void* instance) {
    NetworkInput* in = static_cast<NetworkInput*>(instance);
    if (!in) return 0;
    close_connection(in);  // the engine closes first; this only guards a lost handle
    url_free(&in->url);
    free(in->buffer);
    free(in->name);
    free(in);
    return 0;
}

void host_detail(char* detail, size_t size, const char* host, int port) {
    if (strlen(host) >= 200)
        snprintf(detail, size, "host %.200s", host);
    else
        snprintf(detail, size, "host %s, port %d", host, port);
}

int http_fetch(NetworkInput* in, const char* proxy, int proxy_port) {
    Engine* e = in->engine;
    for (int redirects = 0;; redirects++) {
        char detail[256];
        host_detail(detail, sizeof detail, in->url.host, in->url.port);
        net_debug(e, 0, "connecting", detail);
        SocketRecord* s = nullptr;
        int r = proxy ? connect_stream(proxy, proxy_port, connect_timeout_ms, &s)
                      : connect_stream(in->url.host, in->url.port, connect_timeout_ms, &s);
        if (r < 0) {
            net_debug(e, 0, "connection failed", error_name(r));
            return r;
        }
        net_debug(e, 0, "connected", detail);
        net_debug(e, 1, "requesting data", in->url.path);
        size_t length = strlen(in->url.text) + strlen(in->url.host) + 128;
        char* request = static_cast<char*>(malloc(length));
        if (!request) {
            socket_close(s);
            return err_out_of_memory;
        }
        int n = snprintf(request, length,
                         "GET %s HTTP/1.0\r\nHost: %s\r\nUser-Agent: %s/%s\r\nAccept: */*\r\n\r\n",
                         proxy ? in->url.text : in->url.path, in->url.host, "Tintorama", "1.0");
        r = socket_send(s, request, n);
        free(request);
        if (r < 0) {
            socket_close(s);
            net_debug(e, 0, "error while sending request", error_name(r));
            return r;
        }
        HttpReply* reply = static_cast<HttpReply*>(malloc(sizeof(HttpReply)));
        if (!reply) {
            socket_close(s);
            return err_out_of_memory;
        }
        Channel channel = socket_channel(s);
        r = http_read_reply(channel, e, reply);
        if (r < 0 || !reply->location[0]) {
            if (r < 0)
                socket_close(s);
            else {
                in->content_length = reply->content_length;
                in->connection = s;
                net_debug(e, 0, "http request successfull", "");
            }
            free(reply);
            return r;
        }
        net_debug(e, 1, "http redirect, new location", reply->location);
        socket_close(s);
        // A redirect loop, or a chain too long to be honest, ends here.
        if (redirects + 1 > max_redirects) {
            free(reply);
            net_debug(e, 0, "http error", "too many redirects");
            return err_http_error;
        }
        url_free(&in->url);
        r = url_parse(&in->url, reply->location);
        free(reply);
        if (r < 0) return r;
        if (in->url.scheme != url_http) return err_unsupported_url_scheme;
    }
}

int ftp_send(SocketRecord* control, const char* format, const char* argument) {
    char command[1100];
    int n = snprintf(command, sizeof command, format, argument);
    if (n < 0 || n >= static_cast<int>(sizeof command)) return err_invalid_url_syntax;
    return socket_send(control, command, n);
}

int ftp_fetch(NetworkInput* in) {
    Engine* e = in->engine;
    char detail[256];
    host_detail(detail, sizeof detail, in->url.host, in->url.port);
    net_debug(e, 0, "connecting", detail);
    SocketRecord* control = nullptr;
    int r = connect_stream(in->url.host, in->url.port, connect_timeout_ms, &control);
    if (r < 0) {
        net_debug(e, 0, "connection failed", error_name(r));
        return r;
    }
    net_debug(e, 0, "connected", detail);
    Channel channel = socket_channel(control);
    SocketRecord* listener = nullptr;
    int state = 0;
    FtpReply reply{};
    reply.content_length = 0;
    int result = err_ftp_error;
    for (;;) {
        int code = ftp_read_reply(channel, &reply);
        if (code < 0) {
            result = code;
            break;
        }
        int sent = 0;
        if (code == '2' && state == 0) {
            net_debug(e, 1, "logging in as", in->url.user);
            sent = ftp_send(control, "USER %s\r\n", in->url.user);
            state = 1;
        } else if (code == '3' && state == 1) {
            net_debug(e, 2, "sending PASS", in->url.password);
            sent = ftp_send(control, "PASS %s\r\n", in->url.password);
            state = 2;
        } else if (code == '2' && (state == 1 || state == 2)) {
            // A server may log a user in without a password (RFC 959 allows
            // 230 to USER): the fetch goes on as after PASS.
            sent = ftp_send(control, "TYPE I\r\n", "");
            state = 3;
        } else if (code == '2' && state == 3) {
            sent = listen_stream(&listener);
            if (sent == 0) {
                uint32_t a = control->local_address;
                int port = listener->local_port;
                char command[64];
                int n =
                    snprintf(command, sizeof command, "PORT %u,%u,%u,%u,%d,%d\r\n", a >> 24,
                             (a >> 16) & 0xFF, (a >> 8) & 0xFF, a & 0xFF, port / 256, port % 256);
                sent = socket_send(control, command, n);
                char number[16];
                snprintf(number, sizeof number, "%d", port);
                net_debug(e, 2, "sending PORT", number);
            }
            state = 4;
        } else if (code == '2' && state == 4) {
            sent = ftp_send(control, "RETR %s\r\n", in->url.path);
            net_debug(e, 2, "sending RETR", in->url.path);
            state = 5;
        } else if (code == '1' && state == 5) {
            in->content_length = reply.content_length;
            net_debug(e, 1, "accepting data socket", "");
            SocketRecord* data = nullptr;
            r = accept_stream(listener, accept_timeout_ms, &data);
            socket_close(listener);
            listener = nullptr;
            if (r < 0) {
                net_debug(e, 1, "cannot accept data socket", error_name(r));
                result = r;
                break;
            }
            net_debug(e, 1, "got connection on data socket", "");
            net_debug(e, 0, "connected and receiving", "");
            data->control = control;
            in->connection = data;
            return 0;
        } else {
            if (code == '4' || code == '5' || (code != '1' && code != '2' && code != '3'))
                net_debug(e, 2, "errror code returned", reply.code);
            result = err_ftp_error;
            break;
        }
        if (sent < 0) {
            result = sent;
            break;
        }
    }
    socket_close(listener);
    socket_close(control);
    return result;
}

int open(void* instance) {
    NetworkInput* in = static_cast<NetworkInput*>(instance);
    if (!in) return err_internal;
    close_connection(in);
    url_free(&in->url);
    in->connected = 0;
    in->content_length = 0;
    in->end_of_stream = 0;
    in->begin = in->buffer;
    in->end = in->buffer + (in->buffer_size - in->max_packet);
    in->write = in->read = in->begin;
    in->available = 0;
    in->accumulated = 0;
    in->threshold = in->high_mark;
    in->underflow = 1;

    int r = url_parse(&in->url, in->name);
    if (r < 0) return r;
    progress(in, progress_connecting, 0, "connecting");
    switch (in->url.scheme) {
        case url_http: {
            char proxy[256] = "";
            Engine* e = in->engine;
            if (e && e->get_string_variable &&
                e->get_string_variable(e, "NETWORK.HTTP.PROXY.HOSTNAME", proxy, sizeof proxy) < 0)
                proxy[0] = '\0';
            int port = setting(e, "NETWORK.HTTP.PROXY.PORT", 80);
            if (port <= 0 || port > 65535) port = 80;
            r = http_fetch(in, proxy[0] ? proxy : nullptr, port);
            break;
        }
        case url_ftp: r = ftp_fetch(in); break;
        case url_udp: r = bind_datagram(in->url.port, &in->connection); break;
        case url_tcp:
            r = connect_stream(in->url.host, in->url.port, connect_timeout_ms, &in->connection);
            if (r == 0) {
                r = socket_send(in->connection, "\r\n", 2);
                if (r < 0) close_connection(in);
            }
            break;
        default: r = -1;
    }
    if (r < 0) {
        url_free(&in->url);
        return r;
    }
    progress(in, progress_connected, 0, "connected");
    in->connected = 1;
    return 0;
}

int close(void* instance) {
    NetworkInput* in = static_cast<NetworkInput*>(instance);
    if (!in) return 0;
    if (!in->connection) return err_internal;
    url_free(&in->url);
    in->connected = 0;
    close_connection(in);
    return 0;
}

int free_space(const NetworkInput* in) {
    if (in->write < in->read) return static_cast<int>(in->read - in->write - 1);
    return static_cast<int>((in->end - in->write) + (in->read - in->begin) - 1);
}

int contiguous_free(const NetworkInput* in) {
    if (in->write < in->read) return static_cast<int>(in->read - in->write - 1);
    return static_cast<int>(in->end - in->write) - (in->read == in->begin ? 1 : 0);
}

void receive(NetworkInput* in, int timeout_ms) {
    if (in->end_of_stream || !in->connection || free_space(in) < in->max_packet) return;
    int want = contiguous_free(in);
    if (want < in->max_packet) want = in->max_packet;
    int n = socket_receive(in->connection, in->write, want, timeout_ms);
    if (n > 0) {
        in->write += n;
        if (in->write >= in->end) {
            int over = static_cast<int>(in->write - in->end);
            memcpy(in->begin, in->end, static_cast<size_t>(over));
            in->write = in->begin + over;
        }
        in->available += n;
    } else if (n != err_timeout && n != 0) {
        in->end_of_stream = 1;
        progress(in, progress_end_of_stream, 0, "reached end of stream");
    }
}

void copy_out(NetworkInput* in, uint8_t* to, int size) {
    int first = static_cast<int>(in->end - in->read);
    if (first > size) first = size;
    memcpy(to, in->read, static_cast<size_t>(first));
    memcpy(to + first, in->begin, static_cast<size_t>(size - first));
    in->read += size;
    if (in->read >= in->end) in->read -= in->end - in->begin;
    in->available -= size;
}

// While the output still holds more sound than one starving read may wait
// for, the stream has not stalled: it is only read as fast as it comes. The
// wait for the high mark is kept for the start and for a stall that has
// played the output dry, so that it rebuilds a lead once, not every second.
bool output_holds_enough(NetworkInput* in) {
    Engine* e = in->engine;
    unsigned delay = 0;
    return e && e->get_output_delay && e->get_output_delay(e, &delay) == 0 &&
           delay > static_cast<unsigned>(in->read_timeout) * 1000u;
}

int read(void* instance, void* buffer, int size) {
    NetworkInput* in = static_cast<NetworkInput*>(instance);
    if (!in || !in->connection) return err_internal;
    if (!buffer || size <= 0) return 0;
    // No request can wait for more than the ring holds beside one packet.
    int most = static_cast<int>(in->end - in->begin) - 1 - in->max_packet;
    if (size > most) size = most;
    uint8_t* to = static_cast<uint8_t*>(buffer);
    bool starving = in->available < in->threshold || in->available < size;
    if (starving && !in->underflow && !in->end_of_stream && output_holds_enough(in)) {
        // A live stream that only keeps pace: its lead is in the output, so
        // the request is served as soon as its bytes arrive.
        receive(in, in->read_timeout);
        starving = in->available < size;
        if (starving && !in->end_of_stream) return err_timeout;
    }
    if (starving) {
        if (!in->underflow) {
            in->underflow = 1;
            in->threshold = in->high_mark;
            progress(in, progress_underflow, 0, "buffer underflow");
        }
        if (!in->end_of_stream) {
            receive(in, in->read_timeout);
            // Waits until the buffer covers the request as well as the mark.
            if (!in->end_of_stream && (in->available < in->threshold || in->available < size)) {
                int level = in->high_mark > 0
                                ? static_cast<int>(int64_t{in->available} * 100 / in->high_mark)
                                : 100;
                progress(in, progress_fill_level, level, nullptr);
                return err_timeout;
            }
        }
        if (in->available < in->threshold || in->available < size) {
            // At the end, what is left is still delivered, then the end.
            if (in->available == 0) return err_input_end;
            if (size > in->available) size = in->available;
            copy_out(in, to, size);
            return size;
        }
        // The mark is reached: the buffer is refilled now, so that the
        // reads that follow drain it instead of waiting for the mark again.
    }
    if (in->underflow) {
        in->underflow = 0;
        in->threshold = 0;
        progress(in, progress_refilled, 0, "buffer refilled");
    }
    copy_out(in, to, size);
    if (in->accumulated > in->max_accu || in->available < in->force_fill_zone) {
        receive(in, 0);
        in->accumulated = 0;
    } else {
        in->accumulated += size;
    }
    return size;
}

int seek(void*, int64_t) { return 0; }

unsigned get_caps(void*) { return 0; }

int64_t get_size(void* instance) {
    NetworkInput* in = static_cast<NetworkInput*>(instance);
    return in ? in->content_length : 0;
}

}  // namespace

int network_input_register(void* descriptor) {
    InputModule* m = static_cast<InputModule*>(descriptor);
    *m = InputModule{probe, query, create,   destroy,  open,   close,
                     read,  seek,  get_caps, get_size, nullptr};
    // Sockets need no start-up here; a peer that closes while a request is
    // being sent must not end the process (send also passes MSG_NOSIGNAL).
    return 0;
}
