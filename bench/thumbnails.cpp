// One Refresh of the browse screen's page, 5 x 3 cells of 145 x 142 made
// from fifteen 600 x 400 BMP files, beside ImageMagick making the same
// fifteen thumbnails in the same run: in process through its MagickWand
// library (loaded at run time) and as one `convert` command for the fifteen.
// Everything runs on one thread, as the control does.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "controls/coloring_thumbnail_ctrl.h"
#include "imagelib/pix_image.h"
#include "magick_wand.h"

namespace {

constexpr int kFiles = 15;

const std::string& Folder() {
    static const std::string folder = [] {
        std::string path = (std::filesystem::temp_directory_path() / "thumbbench-XXXXXX").string();
        if (!mkdtemp(path.data())) std::abort();
        return path;
    }();
    return folder;
}

// Fifteen different 600 x 400 pictures with detail everywhere.
const std::vector<std::string>& Inputs() {
    static const std::vector<std::string> paths = [] {
        std::vector<std::string> out;
        for (int i = 0; i < kFiles; ++i) {
            std::string p = Folder() + "/in" + std::to_string(i) + ".bmp";
            PixImage image;
            image.Create(600, 400, 24, PIX_FORMAT_BMP);
            for (DWORD y = 0; y < 400; ++y)
                for (DWORD x = 0; x < 600; ++x) {
                    BYTE* px = image.GetRow(y) + x * 3;
                    px[0] = BYTE(x * 255 / 599 + i * 17);
                    px[1] = BYTE(y * 255 / 399 + i * 5);
                    px[2] = BYTE((x * 7 + y * 13 + DWORD(i)) ^ (x * y));
                }
            if (!image.Save(p.c_str(), PIX_FORMAT_BMP)) std::abort();
            out.push_back(p);
        }
        return out;
    }();
    return paths;
}

// The browse screen's grid as a window of its own, filled with the files.
CColoringThumbnailCtrl& Grid() {
    static CColoringThumbnailCtrl* grid = [] {
        auto* c = new CColoringThumbnailCtrl;
        c->SetRows(3);
        c->SetColumns(5);
        c->SetThumbnailSize(145, 142);
        const CSize size = c->GetIdealSize();
        if (!c->CreateEx(0, kThumbnailClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, size.cx, size.cy,
                         nullptr, nullptr))
            std::abort();
        for (int i = 0; i < kFiles; ++i) c->AddItem(Inputs()[size_t(i)].c_str(), UINT(i), "");
        return c;
    }();
    return *grid;
}

void BM_ThumbnailPageRefresh(benchmark::State& state) {
    CColoringThumbnailCtrl& grid = Grid();
    for (auto _ : state) grid.Refresh();
}
BENCHMARK(BM_ThumbnailPageRefresh)->Unit(benchmark::kMillisecond);

// The same fifteen decodes, fits (145 x 96) and centrings on white, in
// memory like the control's.
void BM_MagickWandFifteenThumbnails(benchmark::State& state) {
    const MagickWandApi* wand = MagickWandApi::Get();
    if (!wand) {
        state.SkipWithError("libMagickWand-6.Q16.so.6 is not installed");
        return;
    }
    for (auto _ : state) {
        for (const std::string& input : Inputs())
            if (!wand->Thumbnail(input.c_str())) state.SkipWithError("MagickWand failed");
    }
}
BENCHMARK(BM_MagickWandFifteenThumbnails)->Unit(benchmark::kMillisecond);

// One convert process for the fifteen files, each written as a BMP.
void BM_MagickConvertFifteenThumbnails(benchmark::State& state) {
    if (std::system("convert -version >/dev/null 2>&1") != 0) {
        state.SkipWithError("ImageMagick's convert is not installed");
        return;
    }
    std::string command = "MAGICK_THREAD_LIMIT=1 convert";
    for (const std::string& input : Inputs()) command += " " + input;
    command +=
        " -thumbnail 145x142 -background white -gravity center -extent 145x142 BMP3:" + Folder() +
        "/convert%d.bmp";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError("convert failed");
    }
}
BENCHMARK(BM_MagickConvertFifteenThumbnails)->Unit(benchmark::kMillisecond);

}  // namespace
