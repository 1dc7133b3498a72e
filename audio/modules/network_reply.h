// The readers of HTTP and FTP replies. They take their bytes from a Channel
// and report what they read through the engine's debug callback (source 0).
#pragma once
#include <cstdint>

#include "audio/modules/network_socket.h"

struct Engine;

namespace audio {

// Protocol steps reported with source 0; a null engine reports nothing.
void net_debug(Engine* engine, int level, const char* message, const char* detail);

enum : int {
    http_status_line_size = 128,  // the status line: up to 127 characters
    http_header_line_size = 1024,
    http_max_header_lines = 256,
    http_line_timeout_ms = 10000,
    ftp_line_size = 256,
    ftp_max_reply_lines = 256,
    ftp_line_timeout_ms = 5000,
};

struct HttpReply {
    int status;                            // the first digit of the code, 0 for an empty reply
    int64_t content_length;                // 0 when none was given (or a useless one)
    char location[http_header_line_size];  // the redirect target, "" for none
};

// Reads the status line and, unless it is empty, the header up to its empty
// line, or, for a 3xx, up to its first Location line. 0 with the reply read
// (a 3xx with a location is a redirect), or -1 (a receive failed), -209
// (malformed), -210 (4xx, 5xx), -211 (other).
int http_read_reply(Channel& channel, Engine* engine, HttpReply* reply);

// A length as atoi reads it ("+481070 bytes" is 481070), or 0 when it is
// missing, negative or beyond any real stream.
int64_t http_content_length(const char* text);

struct FtpReply {
    char code[4];            // the first line's three characters
    int64_t content_length;  // from "(N bytes)" in any line of this reply, else 0
};

// Reads one whole reply, multi-line ones included. Returns the code's first
// character, or -1 (a receive failed), -214 (a reply without end).
int ftp_read_reply(Channel& channel, FtpReply* reply);

}  // namespace audio
