// PNG through libpng, and the making of a parent's picture into outlines
// fitted into the canvas area: what opening a colouring screen costs for
// each added picture the first time (afterwards its copy is a BMP file).
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "imagelib/pix_mem_file.h"
#include "screens/colourable_picture.h"

namespace {

// A w x h 24-bit picture of grey lines on paper, in every tone.
PixImage Drawing(DWORD w, DWORD h) {
    PixImage image;
    image.Create(w, h, 24);
    for (DWORD y = 0; y < h; ++y) {
        BYTE* row = image.GetRow(y);
        for (DWORD x = 0; x < w; ++x)
            std::memset(row + 3 * x, (x % 97 < 4 || y % 89 < 4) ? 60 : 230 + (x + y) % 20, 3);
    }
    return image;
}

std::vector<BYTE> Png(PixImage& image) {
    PixMemFile memory;
    memory.Open();
    image.Encode(&memory, PIX_FORMAT_PNG);
    return std::vector<BYTE>(memory.GetBuffer(false), memory.GetBuffer(false) + memory.Size());
}

void BM_PngEncode(benchmark::State& state) {
    PixImage image = Drawing(DWORD(state.range(0)), DWORD(state.range(1)));
    for (auto _ : state) benchmark::DoNotOptimize(Png(image).size());
}
BENCHMARK(BM_PngEncode)->Args({600, 400})->Unit(benchmark::kMillisecond);

void BM_PngDecode(benchmark::State& state) {
    PixImage image = Drawing(DWORD(state.range(0)), DWORD(state.range(1)));
    std::vector<BYTE> png = Png(image);
    for (auto _ : state) {
        PixMemFile stream(png.data(), DWORD(png.size()));
        PixImage read;
        benchmark::DoNotOptimize(read.Decode(&stream, PIX_FORMAT_PNG));
    }
}
BENCHMARK(BM_PngDecode)->Args({600, 400})->Args({4000, 3000})->Unit(benchmark::kMillisecond);

void BM_MakeColourable(benchmark::State& state) {
    PixImage image = Drawing(DWORD(state.range(0)), DWORD(state.range(1)));
    for (auto _ : state) {
        PixImage result;
        benchmark::DoNotOptimize(MakeColourable(image, result));
    }
}
BENCHMARK(BM_MakeColourable)
    ->Args({600, 400})
    ->Args({4000, 3000})
    ->Args({300, 200})
    ->Unit(benchmark::kMillisecond);

}  // namespace
