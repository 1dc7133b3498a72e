// The Layer III reservoir hands a frame its main data: borrowed bytes from
// the ring (wrapping at its end) and the frame's own, with the bytes it
// never held read as zeros at the front.
#include <gtest/gtest.h>

#include <string.h>

#include <vector>

#include "audio/bitstream.h"
#include "audio/decoder_errors.h"

// The decoder's internals, under test.
using namespace audio;

namespace {

struct gather_case {
    const char* name;
    int main_start;       // where the frame's own main data begins in the ring
    int own;              // bytes of it
    int fill_before;      // bytes kept before this frame's
    int main_data_begin;  // bytes borrowed
    int bits;             // part2_3_length sum
    int missing;          // expected leading bytes not held
};

void PrintTo(const gather_case& c, std::ostream* os) { *os << c.name; }

uint8_t ring_byte(int i) { return (uint8_t)(1 + i % 251); }  // never zero

}  // namespace

class ReservoirGather : public testing::TestWithParam<gather_case> {};

TEST_P(ReservoirGather, CopiesWhatIsHeldAndZerosTheRest) {
    const gather_case& c = GetParam();
    static frame_reader f;  // large: keep it off the stack
    frame_reader_reset(&f);
    for (int i = 0; i < reservoir_size; ++i) f.ring[i] = ring_byte(i);
    memset(f.frame, 0xEE, sizeof f.frame);
    f.main_start = c.main_start;
    f.main_bytes = c.own;
    f.write_pos = (c.main_start + c.own) % reservoir_size;
    f.fill = c.fill_before;

    int r = frame_reader_gather(&f, c.main_data_begin, c.bits);
    ASSERT_EQ(r, c.missing);
    int bytes = (c.bits + 7) / 8;
    ASSERT_EQ(f.frame_bytes, bytes);
    for (int i = 0; i < bytes; ++i) {
        int at = (c.main_start - c.main_data_begin + i + reservoir_size) % reservoir_size;
        uint8_t expect = i < c.missing ? 0 : ring_byte(at);
        ASSERT_EQ(f.frame[i], expect) << "byte " << i;
    }
    for (int i = 0; i < frame_buffer_slack; ++i) ASSERT_EQ(f.frame[bytes + i], 0) << "slack " << i;
    EXPECT_EQ(f.bits.pos, 0u);
    EXPECT_EQ(f.bits.limit, (size_t)bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Reservoir, ReservoirGather,
    testing::Values(gather_case{"all_held", 1000, 300, 2000, 200, 8 * 450, 0},
                    gather_case{"wraps_at_the_ring_end", 40, 300, 2000, 200, 8 * 480, 0},
                    gather_case{"after_a_start_mid_stream", 1000, 300, 0, 200, 8 * 450, 200},
                    gather_case{"partly_held", 1000, 300, 50, 200, 8 * 450, 150},
                    gather_case{"partly_held_and_wrapping", 30, 300, 80, 200, 8 * 400 - 3, 120},
                    gather_case{"only_borrowed_bytes_needed", 1000, 300, 0, 200, 8 * 100, 200},
                    gather_case{"nothing_borrowed", 1000, 300, 0, 0, 8 * 300, 0}),
    [](const testing::TestParamInfo<gather_case>& i) { return std::string(i.param.name); });

TEST(ReservoirGather, MoreBitsThanTheFrameAndItsBorrowingCanHoldIsInvalid) {
    static frame_reader f;
    frame_reader_reset(&f);
    f.main_start = 500;
    f.main_bytes = 300;
    f.write_pos = 800;
    f.fill = 4000;
    EXPECT_EQ(frame_reader_gather(&f, 100, 8 * 400 + 1), decoder_error_invalid_frame);
    frame_reader_reset(&f);
    f.main_start = 500;
    f.main_bytes = 300;
    f.write_pos = 800;
    EXPECT_EQ(frame_reader_gather(&f, 100, 8 * 400), 100)
        << "at the limit: the borrowed part missing";
}

TEST(ReservoirGather, KeptBytesAreCountedUpToTheRingSize) {
    static frame_reader f;
    frame_reader_reset(&f);
    // Frames of 1000 bytes, none borrowing: after five the ring is full, and
    // a frame may then borrow the 511 bytes the format allows.
    for (int n = 0; n < 5; ++n) {
        f.main_start = (n * 1000) % reservoir_size;
        f.main_bytes = 1000;
        f.write_pos = (f.main_start + 1000) % reservoir_size;
        ASSERT_EQ(frame_reader_gather(&f, 0, 8 * 1000), 0);
    }
    EXPECT_EQ(f.fill, reservoir_size);
    f.main_start = 5000 % reservoir_size;
    f.main_bytes = 100;
    EXPECT_EQ(frame_reader_gather(&f, 511, 8 * 600), 0);
}
