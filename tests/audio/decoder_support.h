// Helpers for the decoder tests: in-memory inputs, whole-stream decoding,
// generated signals and the external encoders and reference decoder.
#pragma once
#include <stdint.h>

#include <ostream>
#include <string>
#include <vector>

#include "audio/decoder.h"
#include "audio/simd.h"

// The decoder's internals, under test.
using namespace audio;

namespace audio {
// Test names and messages show the path's name.
inline void PrintTo(simd_path p, std::ostream* os) { *os << simd_path_name(p); }
}  // namespace audio

namespace decoder_test {

// An input callback over a byte vector; chunk limits each read, fail_every
// makes every n-th call fail with a transient error (-502) before reading.
struct memory_input {
    std::vector<uint8_t> data;
    size_t pos = 0;
    int chunk = 1 << 30;
    int fail_every = 0;
    int calls = 0;

    static int read(void* ctx, void* buf, int size);
};

// Runs one test on a vector path, then puts back the path that was active.
// ok() is false (and nothing changes) when this processor lacks the path.
class path_scope {
public:
    explicit path_scope(simd_path p) : saved_(simd_active()), ok_(simd_select(p)) {}
    ~path_scope() { simd_select(saved_); }
    path_scope(const path_scope&) = delete;
    path_scope& operator=(const path_scope&) = delete;
    bool ok() const { return ok_; }

private:
    simd_path saved_;
    bool ok_;
};

// Every vector path, for parameterised tests.
inline const simd_path all_paths[] = {simd_path::portable, simd_path::sse2, simd_path::avx2};

struct decoded {
    std::vector<int16_t> samples;
    std::vector<decoder_frame_info> frames;
    int invalid_frames = 0;  // -600 results
    int other_errors = 0;
    int last_result = 0;
};

// Decodes until the input ends; options as the engine would set them.
// `every_frame` starts the decoder at an unknown place, as after a seek: the
// encoder's tag frame then plays as a frame and nothing is cut.
decoded decode_all(const std::vector<uint8_t>& stream, int channel_mode = 0, int quality = 0,
                   int chunk = 1 << 30, int fail_every = 0, bool every_frame = false);

std::vector<uint8_t> read_file(const std::string& path);
std::vector<int16_t> read_pcm(const std::string& path);
void write_file(const std::string& path, const std::vector<uint8_t>& data);

// Interleaved 16-bit test signal: tones, and bursts of noise when
// transients is set (to make encoders switch to short blocks).
std::vector<int16_t> make_signal(int rate, int channels, double seconds, bool transients);

bool have_tool(const char* name);
// Runs a shell command; true on exit status 0.
bool run(const std::string& command);
std::string temp_dir();

struct comparison {
    int max_error = 0;
    double rms = 0.0;
    size_t compared = 0;
};
comparison compare(const std::vector<int16_t>& a, const std::vector<int16_t>& b);

// The values one frame of the stream gives when it opens with an encoder's
// "Xing"/"Info" tag frame; 0 when it does not.
size_t tag_frame_values(const std::vector<uint8_t>& stream);

// Builds a frame header word.
uint32_t header_word(int version, int layer, int bitrate_index, int sampling_frequency, int padding,
                     int mode, int mode_extension = 0, int protection_bit = 1);

}  // namespace decoder_test
