// The colouring controls' hot paths on the headless backend: a canvas fill
// from its button-up message to the repainted pixels (an open 600 x 400
// picture, and the largest region of every picture the program ships), and
// one step of each colour mixer drag; an undo and a redo of a fill, and the
// memory 100 fills of each shipped picture's largest region keep for undo.
#include <afxwin.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "backends/headless/headless.h"
#include "controls/color_mixer_dlg.h"
#include "controls/coloring_canvas_ctrl.h"
#include "res/resource.h"

namespace {

constexpr UINT kCanvasId = 3001;

// A shown top-level dialog holding one canvas.
struct CanvasHost {
    CanvasHost() {
        win::SetSoundBackend(win::SoundBackend::NullInstant);
        host.Create(IDD_COLOR_MIXER, nullptr);
        host.MoveWindow(0, 0, 1000, 700, FALSE);
        ::CreateWindowExA(0, CColoringCanvasCtrl::kClassName, "", WS_CHILD | WS_VISIBLE, 0, 0, 10,
                          10, host.m_hWnd, reinterpret_cast<HMENU>(UINT_PTR(kCanvasId)), nullptr,
                          nullptr);
        canvas.SubclassDlgItem(kCanvasId, &host);
        host.ShowWindow(SW_SHOW);
        headless::RunUntilIdle();
    }
    ~CanvasHost() {
        host.DestroyWindow();
        headless::RunUntilIdle();
    }
    bool Load(const std::string& path) {
        canvas.LoadPicture(path.c_str());
        canvas.MoveWindow(0, 0, canvas.GetPictureWidth(), canvas.GetPictureHeight(), TRUE);
        headless::RunUntilIdle();
        return canvas.GetPictureWidth() > 0;
    }
    // One fill as the child makes it: the button-up message, then the paint.
    void Fill(int x, int y) {
        canvas.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        canvas.UpdateWindow();
    }
    CDialog host;
    CColoringCanvasCtrl canvas;
};

std::string WriteWhitePicture(int w, int h) {
    const std::string path = std::filesystem::temp_directory_path() / "tinto_bench_open.bmp";
    headless::Image image;
    image.width = w;
    image.height = h;
    image.pixels.assign(size_t(w) * size_t(h), 0xFFFFFF);
    headless::SaveBmp(image, path);
    return path;
}

// The whole open picture, alternating two colours so that every run
// repaints every pixel.
void CanvasFillOpenPicture(benchmark::State& state) {
    CanvasHost h;
    if (!h.Load(WriteWhitePicture(600, 400))) {
        state.SkipWithError("the picture did not load");
        return;
    }
    const COLORREF colours[2] = {RGB(255, 0, 0), RGB(255, 255, 255)};
    int turn = 0;
    for (auto _ : state) {
        h.canvas.SetFillColor(colours[turn]);
        h.Fill(300, 200);
        turn ^= 1;
    }
    state.SetItemsProcessed(state.iterations() * 600 * 400);
}
BENCHMARK(CanvasFillOpenPicture)->Unit(benchmark::kMillisecond);

std::vector<std::string> ShippedPictures() {
    std::vector<std::string> paths;
    for (const char* folder : {"Pictures/Freely", "Pictures/Samples"}) {
        std::error_code error;
        for (const auto& entry :
             std::filesystem::directory_iterator(std::string(TINTO_APP_DIR "/") + folder, error))
            if (entry.path().extension() == ".bmp") paths.push_back(entry.path());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

// The point of the picture's largest region of one colour (4-connected),
// found once before timing.
POINT LargestRegion(CColoringCanvasCtrl& canvas) {
    const int w = canvas.GetPictureWidth(), h = canvas.GetPictureHeight();
    std::vector<COLORREF> px(size_t(w) * size_t(h));
    {
        CClientDC dc(&canvas);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) px[size_t(y) * w + x] = dc.GetPixel(x, y);
    }
    std::vector<int> label(px.size(), -1);
    std::vector<int> stack;
    POINT best{0, 0};
    size_t bestSize = 0;
    for (size_t start = 0; start < px.size(); ++start) {
        if (label[start] >= 0) continue;
        size_t size = 0;
        stack.assign(1, int(start));
        label[start] = int(start);
        while (!stack.empty()) {
            const int i = stack.back();
            stack.pop_back();
            ++size;
            const int x = i % w, y = i / w;
            const int next[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
            for (const auto& n : next) {
                if (n[0] < 0 || n[1] < 0 || n[0] >= w || n[1] >= h) continue;
                const size_t j = size_t(n[1]) * w + n[0];
                if (label[j] < 0 && px[j] == px[start]) {
                    label[j] = int(start);
                    stack.push_back(int(j));
                }
            }
        }
        if (size > bestSize) {
            bestSize = size;
            best = POINT{LONG(start % w), LONG(start / w)};
        }
    }
    return best;
}

// Each shipped picture's largest region, filled and filled back.
void CanvasFillShippedPicture(benchmark::State& state, const std::string& path) {
    CanvasHost h;
    if (!h.Load(path)) {
        state.SkipWithError("the picture did not load");
        return;
    }
    const POINT p = LargestRegion(h.canvas);
    COLORREF original;
    {
        CClientDC dc(&h.canvas);
        original = dc.GetPixel(p.x, p.y);
    }
    const COLORREF colours[2] = {original ^ 0x00FFFFFF, original};
    int turn = 0;
    for (auto _ : state) {
        h.canvas.SetFillColor(colours[turn]);
        h.Fill(p.x, p.y);
        turn ^= 1;
    }
}

// One benchmark per picture found in the built program directory.
const bool g_bShippedRegistered = [] {
    for (const std::string& path : ShippedPictures()) {
        const std::string name = "CanvasFillShippedPicture/" +
                                 std::filesystem::path(path).parent_path().filename().string() +
                                 "/" + std::filesystem::path(path).stem().string();
        benchmark::RegisterBenchmark(name.c_str(), CanvasFillShippedPicture, path)
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

// One undo or one redo of a fill of the whole open picture, each with the
// repaint it causes: what the child waits for after Ctrl+Z.
void CanvasUndoRedoOpenPicture(benchmark::State& state) {
    CanvasHost h;
    if (!h.Load(WriteWhitePicture(600, 400))) {
        state.SkipWithError("the picture did not load");
        return;
    }
    h.canvas.SetFillColor(RGB(255, 0, 0));
    h.Fill(300, 200);
    bool bUndo = true;
    for (auto _ : state) {
        if (!(bUndo ? h.canvas.Undo() : h.canvas.Redo())) {
            state.SkipWithError("nothing to undo or redo");
            break;
        }
        h.canvas.UpdateWindow();
        bUndo = !bUndo;
    }
    state.SetItemsProcessed(state.iterations() * 600 * 400);
}
BENCHMARK(CanvasUndoRedoOpenPicture)->Unit(benchmark::kMillisecond);

// 100 fills of the largest region of every shipped picture, in turn two
// colours so that each fill changes the whole region: the most memory the
// 100 steps of one picture keep (the counter "MiB", the goal at most 8),
// and the mean per picture.
void CanvasHistoryMemoryOf100Fills(benchmark::State& state) {
    double largest = 0, total = 0;
    int pictures = 0;
    for (auto _ : state) {
        largest = total = 0;
        pictures = 0;
        for (const std::string& path : ShippedPictures()) {
            CanvasHost h;
            if (!h.Load(path)) continue;
            const POINT p = LargestRegion(h.canvas);
            for (int i = 0; i < 100; ++i) {
                h.canvas.SetFillColor(i % 2 ? RGB(255, 0, 0) : RGB(0, 0, 255));
                h.canvas.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
            }
            const CCanvasHistory& history = h.canvas.GetHistory();
            if (history.GetStepCount() != 100) state.SkipWithError("not 100 steps kept");
            const double mib = double(history.GetMemoryUsed()) / (1 << 20);
            largest = std::max(largest, mib);
            total += mib;
            ++pictures;
        }
    }
    state.counters["MiB"] = largest;
    state.counters["MeanMiB"] = pictures ? total / pictures : 0;
    state.counters["pictures"] = pictures;
}
BENCHMARK(CanvasHistoryMemoryOf100Fills)->Iterations(1)->Unit(benchmark::kMillisecond);

// One step of a mixer drag: 0 the wheel, 1 the bar, 2 the red handle. Each
// step moves between two points, so every step changes the colour.
void MixerDragStep(benchmark::State& state) {
    win::SetSoundBackend(win::SoundBackend::NullInstant);
    CColorMixerDlg dlg(RGB(200, 120, 40));
    dlg.Create(CColorMixerDlg::IDD, nullptr);
    dlg.ShowWindow(SW_SHOW);
    headless::RunUntilIdle();
    CPoint points[2];
    const CPoint wc = dlg.GetWheelCenter();
    const CRect bar = dlg.GetBarRect();
    const CPoint cube = dlg.GetCubeCenter();
    CPoint press;
    switch (state.range(0)) {
        case 0:
            press = wc;
            points[0] = wc + CSize(60, -30);
            points[1] = wc + CSize(-40, 50);
            break;
        case 1:
            press = CPoint(bar.left + 5, bar.top + 10);
            points[0] = CPoint(bar.left + 5, bar.top + 40);
            points[1] = CPoint(bar.left + 5, bar.top + 160);
            break;
        default:
            press = dlg.GetHandleRect(0).CenterPoint();
            points[0] = cube - CSize(0, 20);
            points[1] = cube - CSize(0, 80);
            break;
    }
    dlg.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(press.x, press.y));
    int turn = 0;
    for (auto _ : state) {
        dlg.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(points[turn].x, points[turn].y));
        turn ^= 1;
    }
    dlg.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(press.x, press.y));
    dlg.DestroyWindow();
    headless::RunUntilIdle();
}
BENCHMARK(MixerDragStep)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace
