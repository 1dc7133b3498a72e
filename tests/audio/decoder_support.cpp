#include "decoder_support.h"
#include "support/reference_tools.h"
#include "support/temp_dir.h"

#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

namespace decoder_test {

int memory_input::read(void* ctx, void* buf, int size) {
    memory_input* in = static_cast<memory_input*>(ctx);
    ++in->calls;
    if (in->fail_every && in->calls % in->fail_every == 0) return -502;
    size_t left = in->data.size() - in->pos;
    if (left == 0) return decoder_error_input_end;
    size_t n = (size_t)size;
    if (n > left) n = left;
    if (n > (size_t)in->chunk) n = in->chunk;
    memcpy(buf, in->data.data() + in->pos, n);
    in->pos += n;
    return (int)n;
}

decoded decode_all(const std::vector<uint8_t>& stream, int channel_mode, int quality, int chunk,
                   int fail_every, bool every_frame) {
    memory_input in;
    in.data = stream;
    in.chunk = chunk;
    in.fail_every = fail_every;
    decoder_state* d = new decoder_state;
    decoder_init(d, memory_input::read, &in);
    if (every_frame) decoder_reset(d);
    d->channel_mode = channel_mode;
    d->quality = quality;
    decoded out;
    int16_t block[decoder_max_samples];
    for (int guard = 0; guard < 1000000; ++guard) {
        decoder_frame_info info;
        int r = decoder_decode_frame(d, block, &info);
        out.last_result = r;
        if (r == decoder_error_input_end) break;
        if (r == decoder_error_invalid_frame) {
            ++out.invalid_frames;
            continue;
        }
        if (r < 0) {
            ++out.other_errors;
            continue;
        }
        out.frames.push_back(info);
        out.samples.insert(out.samples.end(), block, block + info.samples);
    }
    decoder_free(d);
    delete d;
    return out;
}

std::vector<uint8_t> read_file(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

std::vector<int16_t> read_pcm(const std::string& path) {
    std::vector<uint8_t> bytes = read_file(path);
    std::vector<int16_t> pcm(bytes.size() / 2);
    for (size_t i = 0; i < pcm.size(); ++i)
        pcm[i] = (int16_t)(bytes[2 * i] | bytes[2 * i + 1] << 8);
    return pcm;
}

void write_file(const std::string& path, const std::vector<uint8_t>& data) {
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(data.data()), (std::streamsize)data.size());
}

std::vector<int16_t> make_signal(int rate, int channels, double seconds, bool transients) {
    size_t n = (size_t)(rate * seconds);
    std::vector<int16_t> out;
    out.reserve(n * channels);
    uint32_t noise = 12345;
    for (size_t i = 0; i < n; ++i) {
        double t = (double)i / rate;
        double burst = 0.0;
        if (transients && i % (size_t)(rate / 4) < 200) {
            noise = noise * 1664525u + 1013904223u;
            burst = ((noise >> 8) / 16777216.0 - 0.5) * 1.2;
        }
        double l = 0.3 * sin(2 * M_PI * 440 * t) + 0.2 * sin(2 * M_PI * 1234.5 * t) +
                   0.05 * sin(2 * M_PI * 5000 * t);
        double r = 0.3 * sin(2 * M_PI * 660 * t) + 0.1 * sin(2 * M_PI * 3000 * t + 1);
        out.push_back((int16_t)lrint(fmax(-1.0, fmin(1.0, l + burst)) * 32767));
        if (channels == 2) out.push_back((int16_t)lrint(fmax(-1.0, fmin(1.0, r + burst)) * 32767));
    }
    return out;
}

bool have_tool(const char* name) { return test_support::HaveTool(name); }

bool run(const std::string& command) { return test_support::Run(command); }

std::string temp_dir() {
    // One folder for the whole run (the encoded streams are reused), removed
    // when the test program ends.
    static test_support::TempDir dir("tinto_decoder");
    return dir.str();
}

comparison compare(const std::vector<int16_t>& a, const std::vector<int16_t>& b) {
    comparison c;
    c.compared = a.size() < b.size() ? a.size() : b.size();
    double sum = 0.0;
    for (size_t i = 0; i < c.compared; ++i) {
        int d = abs(a[i] - b[i]);
        if (d > c.max_error) c.max_error = d;
        sum += (double)d * d;
    }
    c.rms = c.compared ? sqrt(sum / c.compared) : 0.0;
    return c;
}

size_t tag_frame_values(const std::vector<uint8_t>& stream) {
    frame_header h;
    if (stream.size() < 200) return 0;
    uint32_t w = (uint32_t)stream[0] << 24 | stream[1] << 16 | stream[2] << 8 | stream[3];
    if (!header_decode(w, &h) || h.layer != 3) return 0;
    size_t at = 4 + header_side_info_length(&h) - (h.protection == 0 ? 2 : 0);
    if (memcmp(&stream[at], "Xing", 4) != 0 && memcmp(&stream[at], "Info", 4) != 0) return 0;
    return (size_t)header_samples_per_channel(&h) * h.channels;
}

uint32_t header_word(int version, int layer, int bitrate_index, int sampling_frequency, int padding,
                     int mode, int mode_extension, int protection_bit) {
    int vbits = version == 1 ? 3 : version == 0 ? 2 : version == 2 ? 0 : 1;
    uint32_t w = 0xFFE00000u;
    w |= (uint32_t)vbits << 19;
    w |= (uint32_t)(4 - layer) << 17;
    w |= (uint32_t)protection_bit << 16;
    w |= (uint32_t)bitrate_index << 12;
    w |= (uint32_t)sampling_frequency << 10;
    w |= (uint32_t)padding << 9;
    w |= (uint32_t)mode << 6;
    w |= (uint32_t)mode_extension << 4;
    return w;
}

}  // namespace decoder_test
