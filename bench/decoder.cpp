// Decoding whole streams to 16-bit PCM in memory: our decoder against
// libmpg123 on the same bytes in the same run. Streams are made by lame and
// twolame at start-up (a sine mix, 20 seconds each); libmpg123 is loaded at
// run time so that the build needs no extra library.
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <math.h>
#include <mpg123.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "audio/decoder.h"

using namespace audio;  // the decoder's internals

namespace {

struct stream {
    const char* name;
    std::string command;  // encoder command reading RAW, writing OUT
    int rate;
    int channels;
    std::vector<uint8_t> bytes;
};

std::vector<uint8_t> load(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

std::vector<uint8_t> make_stream(const stream& s) {
    std::string raw = std::string("/tmp/tinto_bench_") + s.name + ".raw";
    std::string out = std::string("/tmp/tinto_bench_") + s.name + ".bin";
    std::vector<uint8_t> existing = load(out);
    if (!existing.empty()) return existing;
    FILE* f = fopen(raw.c_str(), "wb");
    if (!f) return {};
    for (int i = 0; i < s.rate * 20; ++i) {
        double t = (double)i / s.rate;
        double v[2] = {0.3 * sin(2 * M_PI * 440 * t) + 0.2 * sin(2 * M_PI * 1750 * t) +
                           0.05 * sin(2 * M_PI * 7000 * t),
                       0.3 * sin(2 * M_PI * 660 * t) + 0.1 * sin(2 * M_PI * 3000 * t)};
        for (int c = 0; c < s.channels; ++c) {
            int16_t x = (int16_t)lrint(v[c] * 32767);
            fwrite(&x, 2, 1, f);
        }
    }
    fclose(f);
    std::string cmd = s.command;
    cmd.replace(cmd.find("RAW"), 3, raw);
    cmd.replace(cmd.find("OUT"), 3, out);
    if (system((cmd + " 2>/dev/null").c_str()) != 0) return {};
    return load(out);
}

std::vector<stream>& streams() {
    static std::vector<stream> list = [] {
        std::vector<stream> l = {
            {"mp3_128k_joint",
             "lame --quiet -r --little-endian -s 44.1 -m j -b 128 RAW OUT",
             44100,
             2,
             {}},
            {"mp3_vbr_v2",
             "lame --quiet -r --little-endian -s 44.1 -m j -V 2 RAW OUT",
             44100,
             2,
             {}},
            {"mp3_22k_mono",
             "lame --quiet -r --little-endian -s 22.05 -m m -b 48 RAW OUT",
             22050,
             1,
             {}},
            {"mp2_192k_stereo",
             "twolame --quiet -r -s 44100 -N 2 -m s -b 192 RAW OUT",
             44100,
             2,
             {}},
        };
        for (stream& s : l) s.bytes = make_stream(s);
        return l;
    }();
    return list;
}

struct memory_reader {
    const std::vector<uint8_t>* data;
    size_t pos;
    static int read(void* ctx, void* buf, int size) {
        memory_reader* r = static_cast<memory_reader*>(ctx);
        size_t left = r->data->size() - r->pos;
        if (left == 0) return decoder_error_input_end;
        size_t n = left < (size_t)size ? left : (size_t)size;
        memcpy(buf, r->data->data() + r->pos, n);
        r->pos += n;
        return (int)n;
    }
};

void BM_Ours(benchmark::State& state) {
    const stream& s = streams()[state.range(0)];
    if (s.bytes.empty()) {
        state.SkipWithError("encoder missing");
        return;
    }
    static decoder_state d;
    int16_t block[decoder_max_samples];
    size_t samples = 0;
    for (auto _ : state) {
        memory_reader in{&s.bytes, 0};
        decoder_init(&d, memory_reader::read, &in);
        decoder_frame_info info;
        for (;;) {
            int r = decoder_decode_frame(&d, block, &info);
            if (r == decoder_error_input_end) break;
            if (r == 0) samples += info.samples;
        }
        benchmark::DoNotOptimize(block[0]);
    }
    state.SetLabel(s.name);
    state.counters["x_realtime"] =
        benchmark::Counter((double)samples / (s.rate * s.channels), benchmark::Counter::kIsRate);
}

// libmpg123 through dlopen.
struct libmpg123 {
    void* handle = nullptr;
    decltype(&mpg123_init) init = nullptr;
    decltype(&mpg123_new) create = nullptr;
    decltype(&mpg123_delete) destroy = nullptr;
    decltype(&mpg123_param) param = nullptr;
    decltype(&mpg123_open_feed) open_feed = nullptr;
    decltype(&mpg123_feed) feed = nullptr;
    decltype(&mpg123_read) read = nullptr;
    decltype(&mpg123_close) close = nullptr;
    libmpg123() {
        handle = dlopen("libmpg123.so.0", RTLD_NOW);
        if (!handle) return;
        init = (decltype(init))dlsym(handle, "mpg123_init");
        create = (decltype(create))dlsym(handle, "mpg123_new");
        destroy = (decltype(destroy))dlsym(handle, "mpg123_delete");
        param = (decltype(param))dlsym(handle, "mpg123_param");
        open_feed = (decltype(open_feed))dlsym(handle, "mpg123_open_feed");
        feed = (decltype(feed))dlsym(handle, "mpg123_feed");
        read = (decltype(read))dlsym(handle, "mpg123_read");
        close = (decltype(close))dlsym(handle, "mpg123_close");
        if (!(init && create && destroy && param && open_feed && feed && read && close))
            handle = nullptr;
        if (handle) init();
    }
};

void BM_Libmpg123(benchmark::State& state) {
    static libmpg123 lib;
    const stream& s = streams()[state.range(0)];
    if (!lib.handle || s.bytes.empty()) {
        state.SkipWithError("libmpg123 or encoder missing");
        return;
    }
    std::vector<unsigned char> out(1 << 16);
    size_t samples = 0;
    for (auto _ : state) {
        int err = 0;
        mpg123_handle* mh = lib.create(nullptr, &err);
        lib.param(mh, MPG123_FLAGS, MPG123_QUIET, 0.0);
        lib.open_feed(mh);
        lib.feed(mh, s.bytes.data(), s.bytes.size());
        for (;;) {
            size_t done = 0;
            int r = lib.read(mh, out.data(), out.size(), &done);
            samples += done / 2;
            if (r == MPG123_NEW_FORMAT || (r == MPG123_OK && done)) continue;
            if (r == MPG123_OK) continue;
            break;
        }
        lib.close(mh);
        lib.destroy(mh);
        benchmark::DoNotOptimize(out[0]);
    }
    state.SetLabel(s.name);
    state.counters["x_realtime"] =
        benchmark::Counter((double)samples / (s.rate * s.channels), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK(BM_Ours)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Libmpg123)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
