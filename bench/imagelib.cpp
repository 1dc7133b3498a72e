// Decoding a 600 x 400 24-bit BMP and making a 145 x 142 thumbnail of it,
// by this library and, in the same run, by ImageMagick: in process through
// its MagickWand library (loaded at run time, so nothing is needed to build
// this) and as the `convert` command. Both write the thumbnail as a BMP.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "imagelib/pix_image.h"
#include "magick_wand.h"
#include "support/temp_dir.h"

namespace {

// Removed with its pictures when the benchmarks end.
const std::string& Folder() {
    static const test_support::TempDir dir("pixbench");
    static const std::string folder = dir.str();
    return folder;
}

// A 600 x 400 picture with detail everywhere, written by this library.
const std::string& Input() {
    static const std::string path = [] {
        std::string p = Folder() + "/in.bmp";
        PixImage image;
        image.Create(600, 400, 24, PIX_FORMAT_BMP);
        for (DWORD y = 0; y < 400; ++y)
            for (DWORD x = 0; x < 600; ++x) {
                BYTE* px = image.GetRow(y) + x * 3;
                px[0] = BYTE(x * 255 / 599);
                px[1] = BYTE(y * 255 / 399);
                px[2] = BYTE((x * 7 + y * 13) ^ (x * y));
            }
        if (!image.Save(p.c_str(), PIX_FORMAT_BMP)) std::abort();
        return p;
    }();
    return path;
}

// What the thumbnail control does with each picture file.
void BM_PixLoadAndThumbnail(benchmark::State& state) {
    for (auto _ : state) {
        PixImage image, cell;
        if (!image.Load(Input().c_str(), PIX_FORMAT_UNKNOWN) ||
            !image.Thumbnail(145, 142, PixRGBQuad{255, 255, 255, 0}, &cell))
            state.SkipWithError(image.GetLastError());
        benchmark::DoNotOptimize(cell.GetBlock());
    }
}
BENCHMARK(BM_PixLoadAndThumbnail)->Unit(benchmark::kMillisecond);

// The same and the thumbnail saved (Save syncs the file to disk before
// renaming it into place, which the other two do not).
void BM_PixLoadThumbnailSave(benchmark::State& state) {
    const std::string out = Folder() + "/pix.bmp";
    for (auto _ : state) {
        PixImage image, cell;
        bool ok = image.Load(Input().c_str(), PIX_FORMAT_UNKNOWN) &&
                  image.Thumbnail(145, 142, PixRGBQuad{255, 255, 255, 0}, &cell) &&
                  cell.Save(out.c_str(), PIX_FORMAT_BMP);
        if (!ok) state.SkipWithError(image.GetLastError());
    }
}
BENCHMARK(BM_PixLoadThumbnailSave)->Unit(benchmark::kMillisecond);

// The same through a plain stream, without the sync: the work ImageMagick does.
void BM_PixLoadThumbnailWrite(benchmark::State& state) {
    const std::string out = Folder() + "/pixplain.bmp";
    for (auto _ : state) {
        PixImage image, cell;
        FILE* file = nullptr;
        bool ok = image.Load(Input().c_str(), PIX_FORMAT_UNKNOWN) &&
                  image.Thumbnail(145, 142, PixRGBQuad{255, 255, 255, 0}, &cell) &&
                  (file = std::fopen(out.c_str(), "wb")) && cell.Encode(file, PIX_FORMAT_BMP);
        if (file) std::fclose(file);
        if (!ok) state.SkipWithError("write failed");
    }
}
BENCHMARK(BM_PixLoadThumbnailWrite)->Unit(benchmark::kMillisecond);

// The same fitted size, centred on the same white cell, written as a BMP.
void BM_MagickWandLoadAndThumbnail(benchmark::State& state) {
    const MagickWandApi* wand = MagickWandApi::Get();
    if (!wand) {
        state.SkipWithError("libMagickWand-6.Q16.so.6 is not installed");
        return;
    }
    const std::string out = "BMP3:" + Folder() + "/wand.bmp";
    for (auto _ : state) {
        if (!wand->Thumbnail(Input().c_str(), out.c_str()))
            state.SkipWithError("MagickWand failed");
    }
}
BENCHMARK(BM_MagickWandLoadAndThumbnail)->Unit(benchmark::kMillisecond);

void BM_MagickConvertCommand(benchmark::State& state) {
    if (std::system("convert -version >/dev/null 2>&1") != 0) {
        state.SkipWithError("ImageMagick's convert is not installed");
        return;
    }
    const std::string command =
        "MAGICK_THREAD_LIMIT=1 convert " + Input() +
        " -thumbnail 145x142 -background white -gravity center -extent 145x142 BMP3:" + Folder() +
        "/convert.bmp";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError("convert failed");
    }
}
BENCHMARK(BM_MagickConvertCommand)->Unit(benchmark::kMillisecond);

}  // namespace
