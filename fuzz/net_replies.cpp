// The HTTP and FTP reply readers fed from a fake socket: the first byte
// chooses the reader, the rest is what the server says. In chunks of the
// fuzzer's choosing, so that the readers meet every split of the input.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "audio/modules/network_reply.h"

namespace {

struct FakeSocket {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

int fake_receive(void* context, void* buffer, int size, int) {
    FakeSocket* s = static_cast<FakeSocket*>(context);
    if (s->pos >= s->size) return -206;  // the peer closed
    size_t n = s->size - s->pos;
    if (n > static_cast<size_t>(size)) n = static_cast<size_t>(size);
    memcpy(buffer, s->data + s->pos, n);
    s->pos += n;
    return static_cast<int>(n);
}

int fake_send(void*, const void*, int) { return 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    FakeSocket socket{data + 1, size - 1, 0};
    audio::Channel channel{&socket, fake_receive, fake_send};
    if (data[0] & 1) {
        // An FTP dialogue reads reply after reply until the socket ends.
        for (int i = 0; i < 64; i++) {
            audio::FtpReply reply{};
            int r = audio::ftp_read_reply(channel, &reply);
            if (reply.content_length < 0) abort();
            if (r < 0) break;
        }
    } else {
        audio::HttpReply reply;
        int r = audio::http_read_reply(channel, nullptr, &reply);
        if (reply.content_length < 0) abort();
        if (strlen(reply.location) >= sizeof reply.location) abort();
        if (r == 0 && reply.status > 3) abort();
    }
    return 0;
}
