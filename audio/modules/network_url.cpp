#include "audio/modules/network_url.h"

#include <strings.h>

#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "audio/errors.h"

namespace audio {

const char* const url_anonymous_password = "listener@tintorama.invalid";

namespace {

char* copy_range(const char* begin, const char* end) {
    size_t length = static_cast<size_t>(end - begin);
    char* s = static_cast<char*>(malloc(length + 1));
    if (!s) return nullptr;
    memcpy(s, begin, length);
    s[length] = '\0';
    return s;
}

struct Scheme {
    const char* name;  // without the colon
    int scheme;
    int port;
};

const Scheme schemes[] = {{"file", url_file, 0},
                          {"http", url_http, 80},
                          {"ftp", url_ftp, 21},
                          {"udp", url_udp, 8888},
                          {"tcp", url_tcp, 23}};

// The decimal port after a colon, as atoi reads it; an overflow is malformed
// rather than wrapped, so that "http://h:4294967376" is not port 80.
int read_port(const char* s) {
    while (isspace(static_cast<unsigned char>(*s))) s++;
    bool negative = *s == '-';
    if (*s == '-' || *s == '+') s++;
    long value = 0;
    while (isdigit(static_cast<unsigned char>(*s))) {
        value = value * 10 + (*s++ - '0');
        if (value > 65535) return 0;
    }
    return negative ? 0 : static_cast<int>(value);
}

int parse(UrlRecord* url, const char* text) {
    url->text = strdup(text);
    if (!url->text) return err_out_of_memory;
    const char* colon = strchr(text, ':');
    const char* rest = text;
    if (colon && colon - text >= 2) {
        size_t length = static_cast<size_t>(colon - text);
        const Scheme* found = nullptr;
        for (const Scheme& s : schemes)
            if (strlen(s.name) == length && strncasecmp(s.name, text, length) == 0) found = &s;
        if (!found) return err_unsupported_url_scheme;
        url->scheme = found->scheme;
        url->port = found->port;
        rest = colon + 1;
    } else {
        url->scheme = url_file;
    }

    if (url->scheme == url_file) {
        if (rest != text && strncmp(rest, "//", 2) == 0) rest += 2;
        url->path = strdup(rest);
        return url->path ? 0 : err_out_of_memory;
    }

    if (strncmp(rest, "//", 2) != 0) return err_invalid_url_syntax;
    rest += 2;
    const char* slash = strchr(rest, '/');
    const char* authority_end = slash ? slash : rest + strlen(rest);
    url->path = strdup(slash ? slash : "/");
    if (!url->path) return err_out_of_memory;

    // The last at sign ends the user information: a password may hold one.
    const char* at = nullptr;
    for (const char* p = rest; p < authority_end; p++)
        if (*p == '@') at = p;
    const char* host_begin = rest;
    if (at) {
        const char* split =
            static_cast<const char*>(memchr(rest, ':', static_cast<size_t>(at - rest)));
        url->user = copy_range(rest, split ? split : at);
        if (!url->user) return err_out_of_memory;
        if (split) {
            url->password = copy_range(split + 1, at);
            if (!url->password) return err_out_of_memory;
        }
        host_begin = at + 1;
    }
    const char* port_colon = static_cast<const char*>(
        memchr(host_begin, ':', static_cast<size_t>(authority_end - host_begin)));
    url->host = copy_range(host_begin, port_colon ? port_colon : authority_end);
    if (!url->host) return err_out_of_memory;
    if (port_colon) {
        char digits[16] = {};
        size_t length = static_cast<size_t>(authority_end - port_colon - 1);
        memcpy(digits, port_colon + 1, length < sizeof digits - 1 ? length : sizeof digits - 1);
        url->port = read_port(digits);
        if (url->port == 0) return err_invalid_url_syntax;
    }
    if (!*url->host) return err_invalid_url_syntax;
    if (url->scheme == url_ftp) {
        if (!url->user) url->user = strdup("anonymous");
        if (!url->password) url->password = strdup(url_anonymous_password);
        if (!url->user || !url->password) return err_out_of_memory;
    }
    return 0;
}

}  // namespace

int url_parse(UrlRecord* url, const char* text) {
    *url = UrlRecord{};
    if (!text) return err_invalid_url_syntax;
    int result = parse(url, text);
    if (result < 0) url_free(url);
    return result;
}

void url_free(UrlRecord* url) {
    free(url->text);
    free(url->user);
    free(url->password);
    free(url->host);
    free(url->path);
    *url = UrlRecord{};
}

}  // namespace audio
