// The audio library under allocation failures: the decoder made and run
// over a real stream, and a player started and playing a file through the
// file input and the wave output on the null device. Every failure comes
// back as -100 (or -1 where the thread or its events cannot be made), and
// nothing is left behind.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "audio/control.h"
#include "audio/engine.h"
#include "audio/errors.h"
#include "sound/null_device.h"
#include "support/test_data.h"
#include "walk.h"

using alloc_walk::Attempt;

namespace {

// The wave output plays on the null device, as fast as it is fed.
const bool null_device = [] { return setenv("TINTO_AUDIO", "null-instant", 0) == 0; }();

std::string TestData(const std::string& name) { return test_support::MpegTestData(name); }

std::vector<uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}

// --- The decoder -------------------------------------------------------------

struct Stream {
    const std::vector<uint8_t>* bytes;
    size_t at;
    static int Read(void* context, void* buffer, int size) {
        Stream* s = static_cast<Stream*>(context);
        const size_t n = std::min(size_t(size), s->bytes->size() - s->at);
        std::memcpy(buffer, s->bytes->data() + s->at, n);
        s->at += n;
        return int(n);
    }
};

class DecodeOperation : public alloc_walk::Operation {
public:
    explicit DecodeOperation(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}
    void Prepare() override {
        stream_ = Stream{&bytes_, 0};
        samples_.clear();
        samples_.reserve(4 << 20);
        decoder_ = nullptr;
    }
    void Act() override {
        const DecoderOps* ops = mpeg_decoder_ops();
        stream_.at = 0;
        samples_.clear();
        if (decoder_) ops->destroy(decoder_);
        decoder_ = ops->create(Stream::Read, &stream_);
        if (!decoder_) return;
        int16_t block[2304];
        FrameFormat format{};
        for (int frames = 0; frames < 100000; ++frames) {
            result_ = ops->decode_frame(decoder_, block, &format);
            if (result_ == -514) break;
            if (result_ == 0 && samples_.size() + size_t(format.count) <= samples_.capacity())
                samples_.insert(samples_.end(), block, block + format.count);
        }
    }
    Attempt Check() override {
        Attempt a;
        if (!decoder_) {
            a.outOfMemory = true;  // create gives null without memory
            return a;
        }
        if (expected_.empty()) expected_ = samples_;
        a.ok = !samples_.empty() && samples_ == expected_;
        a.detail = "decoded other samples, last result " + std::to_string(result_);
        return a;
    }
    void Release() override {
        if (decoder_) mpeg_decoder_ops()->destroy(decoder_);
        decoder_ = nullptr;
        std::vector<int16_t>().swap(samples_);
    }

private:
    std::vector<uint8_t> bytes_;
    Stream stream_{};
    void* decoder_ = nullptr;
    int result_ = 0;
    std::vector<int16_t> samples_, expected_;
};

class DecoderAllocation : public ::testing::TestWithParam<const char*> {};

TEST_P(DecoderAllocation, FailsCleanlyAtEverySite) {
    if (!alloc_failure::CountsCAllocations())
        GTEST_SKIP() << "the decoder comes from malloc, which this build does not count";
    std::vector<uint8_t> bytes = ReadAll(TestData(GetParam()));
    ASSERT_FALSE(bytes.empty()) << "no test stream " << GetParam();
    DecodeOperation op(bytes);
    alloc_walk::Report report = alloc_walk::Walk(op, std::string("decode ") + GetParam());
    EXPECT_GT(report.sites, 0);
}

INSTANTIATE_TEST_SUITE_P(Streams, DecoderAllocation, ::testing::Values("l3-si.bit", "l1-fl1.bit"),
                         [](const auto& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

// --- The player --------------------------------------------------------------

// Starts a player on its own thread, opens a file, plays it to its end and
// stops the player. Every allocation of every thread counts.
class PlayerOperation : public alloc_walk::Operation {
public:
    explicit PlayerOperation(std::string path) : path_(std::move(path)) {}
    alloc_failure::Threads Threads() const override { return alloc_failure::Threads::All; }
    // The library's own blocks (and those the C library makes for it, such
    // as an open file's) come from malloc; the layer's threads, events and
    // message queues beneath it are C++ objects, not walked here.
    alloc_failure::Kinds Kinds() const override { return alloc_failure::Kinds::COnly; }

    void Act() override {
        // Only plain values here: the test's own blocks must not be counted.
        r_ = Results{};
        PlayerControl* control = nullptr;
        r_.start = control_start(&control, nullptr, engine_thread_routine, nullptr);
        if (r_.start != 0) return;
        if (Await(control, ntf_ready, 0)) {
            r_.ready = true;
            r_.open = Command(control, cmd_input_open, path_.c_str());
            if (r_.open == 0) r_.play = Command(control, cmd_play);
            if (r_.open == 0 && r_.play == 0)
                r_.ended = Await(control, ntf_player_state, state_end_of_input);
        }
        r_.exit = control_send(control, cmd_exit);
        if (!r_.exited) Await(control, ntf_exited, 0);
        r_.stop = control_stop(control);
    }

    // What the null device keeps of the sound for inspection is not the
    // player's.
    void Release() override { win::sound::ClearNullDeviceCapture(); }

    Attempt Check() override {
        Attempt a;
        const Results& r = r_;
        a.ok = r.start == 0 && r.ready && r.open == 0 && r.play == 0 && r.ended && r.exited &&
               r.stop == 0 && r.errors == 0 && !r.timeout;
        // The failure must be told: by control_start, a command's answer or
        // an error notification, and as out of memory (control_start gives
        // -1 when the thread or its events cannot be made).
        const bool told = r.start == err_out_of_memory || r.start == -1 ||
                          r.open == err_out_of_memory || r.play == err_out_of_memory ||
                          r.errors_oom > 0;
        const bool clean = r.start != 0 || (r.exited && r.stop == 0);
        a.outOfMemory = !a.ok && told && clean && r.errors == r.errors_oom && !r.timeout &&
                        Known(r.open) && Known(r.play);
        a.detail = "start " + std::to_string(r.start) + ", ready " + std::to_string(r.ready) +
                   ", open " + std::to_string(r.open) + ", play " + std::to_string(r.play) +
                   ", ended " + std::to_string(r.ended) + ", exited " + std::to_string(r.exited) +
                   ", stop " + std::to_string(r.stop) + ", errors " + std::to_string(r.errors) +
                   " (out of memory " + std::to_string(r.errors_oom) + ", last " +
                   std::to_string(r.last_error) + ")" + (r.timeout ? ", timed out" : "");
        return a;
    }

private:
    struct Results {
        int start = 1, open = 1, play = 1, exit = 1, stop = 1;
        bool ready = false, ended = false, exited = false, timeout = false;
        int errors = 0, errors_oom = 0, last_error = 0;
    };

    static bool Known(int result) {
        return result == 0 || result == 1 || result == err_out_of_memory;
    }

    // Takes note of what the player says on the way.
    void Note(const PlayerMessage& m) {
        if (m.code == ntf_exited) r_.exited = true;
        if (m.code == ntf_error) {
            ++r_.errors;
            r_.last_error = m.payload.error.code;
            if (m.payload.error.code == err_out_of_memory) ++r_.errors_oom;
        }
    }

    // Waits for a notification (with `value` as its byte for the player
    // state); false when the player ends first or nothing comes for 20 s.
    bool Await(PlayerControl* control, unsigned code, int value) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < deadline) {
            PlayerMessage m;
            if (control_wait(control, &m, 1000000) != 0) continue;
            Note(m);
            if (m.code == code && (code != ntf_player_state || m.payload.byte == value))
                return true;
            if (r_.exited) return false;
        }
        r_.timeout = true;
        return false;
    }

    // Sends a command and waits for its answer: 0, or the error.
    template <class... Args>
    int Command(PlayerControl* control, unsigned code, Args... args) {
        int sent = control_send(control, code, args...);
        if (sent != 0) return sent;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < deadline) {
            PlayerMessage m;
            if (control_wait(control, &m, 1000000) != 0) continue;
            Note(m);
            if (m.code == ntf_ack && m.payload.byte == code) return 0;
            if (m.code == ntf_nack && m.payload.byte_short.a == code) return m.payload.byte_short.b;
            if (m.code == ntf_exited) return -1;
        }
        r_.timeout = true;
        return 1;
    }

    std::string path_;
    Results r_;
};

TEST(PlayerAllocation, StartAndPlayFailCleanlyAtEverySite) {
    if (!alloc_failure::CountsCAllocations())
        GTEST_SKIP() << "the player allocates with malloc, which this build does not count";
    if (alloc_failure::UnderAddressSanitizer())
        GTEST_SKIP() << "AddressSanitizer's start of a new thread allocates with malloc and "
                        "cannot take a failure";
    const std::string path = TestData("l3-si.bit");
    ASSERT_FALSE(ReadAll(path).empty()) << "no test stream";
    PlayerOperation op(path);
    alloc_walk::Report report = alloc_walk::Walk(op, "player start and play");
    EXPECT_GT(report.sites, 0);
}

}  // namespace
