// The network input's URL parser on arbitrary text: no crash, no leak, and
// a parsed record that holds what the parser promises.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "audio/modules/network_url.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    audio::UrlRecord url;
    if (audio::url_parse(&url, text.c_str()) == 0) {
        if (!url.text || !url.path) abort();
        if (url.scheme != audio::url_file) {
            if (!url.host || !*url.host || url.port <= 0 || url.port > 65535) abort();
            if (url.path[0] != '/') abort();
        }
        audio::url_free(&url);
    } else if (url.text || url.host || url.path || url.user || url.password) {
        abort();
    }
    return 0;
}
