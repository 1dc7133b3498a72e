#include "audio/modules/network_reply.h"

#include <strings.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "audio/engine.h"
#include "audio/errors.h"

namespace audio {

void net_debug(Engine* engine, int level, const char* message, const char* detail) {
    if (engine && engine->report_debug)
        engine->report_debug(engine->user, 0, level, message, detail);
}

int64_t http_content_length(const char* text) {
    // As atoi reads it: blanks, a sign, digits; what follows is ignored.
    while (isspace(static_cast<unsigned char>(*text))) text++;
    bool negative = *text == '-';
    if (*text == '+' || *text == '-') text++;
    int64_t value = 0;
    while (isdigit(static_cast<unsigned char>(*text))) {
        value = value * 10 + (*text++ - '0');
        // Beyond a terabyte no stream is real: treat it as unknown.
        if (value > (int64_t{1} << 40)) return 0;
    }
    return negative ? 0 : value;
}

namespace {

bool starts_with(const char* text, const char* prefix) {
    return strncasecmp(text, prefix, strlen(prefix)) == 0;
}

// "HTTP/%c.%c %c%c%c %s": all six items of the status line, a reason
// phrase included. The status digit, or 0 when the line is malformed.
int parse_status_line(const char* line) {
    char major, minor, status, tens, units, reason[2];
    if (sscanf(line, "HTTP/%c.%c %c%c%c %1s", &major, &minor, &status, &tens, &units, reason) != 6)
        return 0;
    return static_cast<unsigned char>(status);
}

}  // namespace

int http_read_reply(Channel& channel, Engine* engine, HttpReply* reply) {
    reply->status = 0;
    reply->content_length = 0;
    reply->location[0] = '\0';
    char status_line[http_status_line_size];
    if (read_line(channel, status_line, sizeof status_line, http_line_timeout_ms) < 0) return -1;
    if (!status_line[0]) return 0;
    net_debug(engine, 1, "got http reply", status_line);
    int status = parse_status_line(status_line);
    if (status == 0 || status == '0') return err_invalid_http_reply;
    if (status == '4' || status == '5') {
        net_debug(engine, 0, "http request failed", status_line);
        return err_http_error_reply;
    }
    if (status != '1' && status != '2' && status != '3') return err_http_error;
    reply->status = status - '0';

    char line[http_header_line_size];
    for (int count = 0;; count++) {
        if (count >= http_max_header_lines) {
            net_debug(engine, 0, "invalid http reply", "too many header lines");
            return err_invalid_http_reply;
        }
        if (read_line(channel, line, sizeof line, http_line_timeout_ms) < 0) return -1;
        if (!line[0]) break;
        net_debug(engine, 1, "http header", line);
        if (starts_with(line, "Content-Length:")) {
            reply->content_length = http_content_length(line + 15);
        } else if (status == '3' && starts_with(line, "Location:")) {
            // The redirect is taken at once: the rest of the header is not
            // waited for, and a later Location line is never read.
            const char* target = line + 9;
            if (*target == ' ') target++;
            strcpy(reply->location, target);  // both hold at most one line
            return 0;
        }
    }
    return 0;
}

int ftp_read_reply(Channel& channel, FtpReply* reply) {
    char line[ftp_line_size];
    memset(reply->code, 0, sizeof reply->code);
    reply->content_length = 0;
    for (int count = 0; count < ftp_max_reply_lines; count++) {
        if (read_line(channel, line, sizeof line, ftp_line_timeout_ms) < 0) return -1;
        // "(%d bytes)" at each '(': the number is taken whatever follows it.
        for (const char* open = strchr(line, '('); open; open = strchr(open + 1, '(')) {
            const char* p = open + 1;
            while (isspace(static_cast<unsigned char>(*p))) p++;
            if (*p == '+' || *p == '-') p++;
            if (isdigit(static_cast<unsigned char>(*p)))
                reply->content_length = http_content_length(open + 1);
        }
        if (count == 0) {
            memcpy(reply->code, line, 3);  // "" or short codes stay terminated
            if (line[0] == '\0' || line[1] == '\0' || line[2] == '\0' || line[3] != '-')
                return static_cast<unsigned char>(reply->code[0]);
        } else if (strncmp(line, reply->code, 3) == 0 && line[3] != '-') {
            return static_cast<unsigned char>(reply->code[0]);
        }
    }
    return err_ftp_error;
}

}  // namespace audio
