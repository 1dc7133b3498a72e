// The GDI's hot paths: the canvas's flood fill and the full-window BitBlt
// of every paint. Items processed are pixels, so the rates read as pixels
// per second.
#include <benchmark/benchmark.h>
#include <windows.h>

#include <vector>

#include "base/surface.h"

namespace {

struct MemBitmap {
    MemBitmap(int w, int h) {
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateCompatibleBitmap(nullptr, w, h);
        old = SelectObject(dc, bitmap);
        RECT r{0, 0, w, h};
        FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    ~MemBitmap() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
};

// Fills the whole 600 x 400 region, alternating two colours so that every
// run repaints every pixel.
void FloodFillOpenRegion(benchmark::State& state) {
    MemBitmap m(600, 400);
    HBRUSH brushes[2] = {CreateSolidBrush(RGB(255, 0, 0)), CreateSolidBrush(RGB(255, 255, 255))};
    int turn = 0;
    for (auto _ : state) {
        SelectObject(m.dc, brushes[turn]);
        COLORREF seed = GetPixel(m.dc, 300, 200);
        benchmark::DoNotOptimize(ExtFloodFill(m.dc, 300, 200, seed, FLOODFILLSURFACE));
        turn ^= 1;
    }
    SelectObject(m.dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(brushes[0]);
    DeleteObject(brushes[1]);
    state.SetItemsProcessed(state.iterations() * 600 * 400);
}
BENCHMARK(FloodFillOpenRegion)->Unit(benchmark::kMicrosecond);

// The same region cut by vertical strokes into a winding corridor, the
// worst shape for a span fill's seed stack.
void FloodFillWindingRegion(benchmark::State& state) {
    MemBitmap m(600, 400);
    for (int x = 3; x < 600; x += 4) {
        MoveToEx(m.dc, x, (x / 4) % 2 ? 0 : 1, nullptr);
        LineTo(m.dc, x, (x / 4) % 2 ? 399 : 400);
    }
    int area = 0;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 600; ++x) area += GetPixel(m.dc, x, y) == RGB(255, 255, 255);
    HBRUSH brushes[2] = {CreateSolidBrush(RGB(255, 0, 0)), CreateSolidBrush(RGB(255, 255, 255))};
    int turn = 0;
    for (auto _ : state) {
        SelectObject(m.dc, brushes[turn]);
        COLORREF seed = GetPixel(m.dc, 0, 0);
        benchmark::DoNotOptimize(ExtFloodFill(m.dc, 0, 0, seed, FLOODFILLSURFACE));
        turn ^= 1;
    }
    SelectObject(m.dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(brushes[0]);
    DeleteObject(brushes[1]);
    state.SetItemsProcessed(state.iterations() * area);
}
BENCHMARK(FloodFillWindingRegion)->Unit(benchmark::kMicrosecond);

// A full 800 x 600 copy from a memory bitmap to a window's surface, as a
// paint does.
void BitBltFullWindow(benchmark::State& state) {
    MemBitmap m(800, 600);
    std::vector<uint32_t> pixels(800 * 600);
    win::Surface surface{pixels.data(), 800, 600, 800};
    HDC window = win::CreateWindowDC(&surface, POINT{0, 0}, RECT{0, 0, 800, 600}, nullptr);
    const DWORD rop = DWORD(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(BitBlt(window, 0, 0, 800, 600, m.dc, 0, 0, rop));
        benchmark::ClobberMemory();
    }
    win::ReleaseWindowDC(window);
    state.SetItemsProcessed(state.iterations() * 800 * 600);
}
BENCHMARK(BitBltFullWindow)->Arg(SRCCOPY)->Arg(SRCINVERT)->Unit(benchmark::kMicrosecond);

// A thumbnail-sized shrink, 800 x 600 to 145 x 109.
void StretchBltShrink(benchmark::State& state) {
    MemBitmap src(800, 600), dst(145, 109);
    SetStretchBltMode(dst.dc, COLORONCOLOR);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            StretchBlt(dst.dc, 0, 0, 145, 109, src.dc, 0, 0, 800, 600, SRCCOPY));
    state.SetItemsProcessed(state.iterations() * 145 * 109);
}
BENCHMARK(StretchBltShrink)->Unit(benchmark::kMicrosecond);

}  // namespace
