#include "audio/errors.h"

namespace {

// Names by group: index 0 is the group's first code (-100, -200, ...), index
// n is that code minus n.
const char* const general_names[] = {"out of memory", "invalid parameters", "internal error",
                                     "timeout"};
const char* const network_names[] = {"connect timed out",  "connect failed",   "connection refused",
                                     "accept failed",      "listen failed",    "socket failed",
                                     "socket closed",      "bind failed",      "host unknown",
                                     "invalid http reply", "http error reply", "http error",
                                     "invalid ftp reply",  "ftp error reply",  "ftp error"};
const char* const transport_names[] = {
    "pipe failed",     "fork failed",         "select failed",
    "pipe closed",     "pipe read failed",    "pipe write failed",
    "invalid message", "circular queue full", "post failed"};
const char* const url_names[] = {"unsupported url scheme", "invalid url syntax"};
const char* const device_names[] = {"open failed",
                                    "close failed",
                                    "read failed",
                                    "write failed",
                                    "permission denied",
                                    "no such device",
                                    "ioctl failed",
                                    "plugin module not found",
                                    "unsupported input type",
                                    "unsupported output type",
                                    "unsupported format",
                                    "device busy",
                                    "no such device",
                                    "no such file",
                                    "input end"};
const char* const frame_names[] = {"invalid frame"};
const char* const library_names[] = {"library not found", "symbol not found"};
const char* const variable_names[] = {"no such environment variable",
                                      "invalid environment variable type"};

struct Group {
    const char* const* names;
    int count;
};

template <int N>
constexpr Group group(const char* const (&names)[N]) {
    return {names, N};
}

const Group groups[] = {group(general_names), group(network_names), group(transport_names),
                        group(url_names),     group(device_names),  group(frame_names),
                        group(library_names), group(variable_names)};

}  // namespace

const char* error_name(int code) {
    if (code >= 0) return "";
    // Work on the positive value in 64 bits so that INT_MIN cannot overflow.
    long long magnitude = -static_cast<long long>(code);
    long long group_index = magnitude / 100 - 1;
    if (group_index < 0 || group_index >= static_cast<long long>(sizeof groups / sizeof groups[0]))
        return "unknown error";
    const Group& g = groups[group_index];
    long long n = magnitude % 100;
    return n < g.count ? g.names[n] : "";
}
