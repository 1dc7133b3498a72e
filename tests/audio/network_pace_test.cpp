// A live stream that keeps pace with playback: while the output still holds
// sound, reads take what has arrived; only once it has played dry does the
// ring wait for its high mark again, with its underflow and fill reports.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "network_input_fixture.h"

using namespace std::chrono_literals;
using nettest::read_until;
using nettest::send_all;
using nettest::Server;

namespace {

class NetworkPace : public nettest::NetworkInput {
protected:
    void SetUp() override {
        NetworkInput::SetUp();
        engine->get_output_delay = [](Engine* e, unsigned* microseconds) {
            *microseconds = static_cast<NetworkPace*>(e->user)->output_delay;
            return 0;
        };
    }

    // Reads 1000-byte blocks until `count` bytes have come, at most 10 s.
    void read_until_count(size_t count) {
        char block[1000];
        auto deadline = std::chrono::steady_clock::now() + 10s;
        while (got.size() < count && std::chrono::steady_clock::now() < deadline) {
            int r = module.read(instance, block, sizeof block);
            if (r > 0) got.append(block, static_cast<size_t>(r));
        }
    }

    std::atomic<unsigned> output_delay{1000000};
    std::string got;
};

TEST_F(NetworkPace, UnderflowWaitsOnlyOnceTheOutputHasPlayedDry) {
    // A burst above the high mark, then 400 bytes every 10 ms: slower than
    // the reads, so the ring keeps running short.
    const std::string body = nettest::pattern(80000);
    Server server([&](int fd, int) {
        read_until(fd, "\r\n\r\n");
        send_all(fd, "HTTP/1.0 200 OK\r\n\r\n" + body.substr(0, 20000));
        for (size_t at = 20000; at < body.size() && !server.stopping(); at += 400) {
            std::this_thread::sleep_for(10ms);
            send_all(fd, body.substr(at, 400));
        }
    });
    ASSERT_EQ(open(nettest::url_of(server, "/live")), 0);
    read_until_count(40000);
    EXPECT_EQ(count_progress(19), 0);  // no "buffer underflow" while sound is queued
    EXPECT_EQ(count_progress(20), 1);  // only the first refill

    output_delay = 0;  // the output ran dry: a real stall
    read_until_count(60000);
    EXPECT_GE(count_progress(19), 1);
    EXPECT_GE(count_progress(21), 1);
    EXPECT_GE(count_progress(20), 2);
    got += read_all();
    EXPECT_EQ(got, body);
}

}  // namespace
