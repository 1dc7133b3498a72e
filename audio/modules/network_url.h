// URLs as the network input reads them: scheme, user, password, host, port
// and path, each an owned copy.
#pragma once

namespace audio {

enum UrlScheme : int {
    url_none = 0,
    url_file = 1,
    url_http = 2,
    url_ftp = 3,
    url_udp = 4,
    url_tcp = 5,
};

struct UrlRecord {
    char* text;  // the whole URL
    int scheme;
    char* user;
    char* password;
    char* host;
    int port;
    char* path;
};

// The password an ftp URL without one logs in with.
extern const char* const url_anonymous_password;

// Fills `url` from `text`: 0, or -100, -400 (unknown scheme) or -401
// (malformed). On failure the record holds nothing to free.
int url_parse(UrlRecord* url, const char* text);
// Frees the record's strings and clears it; a cleared record is accepted.
void url_free(UrlRecord* url);

}  // namespace audio
