// Icons and text on device contexts: what a skinned button costs to paint
// (its icon normal and disabled, its caption measured and drawn).
#include <benchmark/benchmark.h>
#include <windows.h>

#include <cstring>

namespace {

struct Canvas {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(nullptr, 96, 64);
    HGDIOBJ old = SelectObject(dc, bitmap);
    ~Canvas() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
};

// A 32x32 icon with an AND mask: an opaque square in a transparent frame.
HICON MaskedIcon() {
    HBITMAP color = CreateBitmap(32, 32, 1, 32, nullptr);
    HBITMAP mask = CreateBitmap(32, 32, 1, 1, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, mask);
    PatBlt(dc, 0, 0, 32, 32, WHITENESS);
    PatBlt(dc, 4, 4, 24, 24, BLACKNESS);
    SelectObject(dc, color);
    HBRUSH red = CreateSolidBrush(RGB(200, 30, 30));
    RECT r{4, 4, 28, 28};
    FillRect(dc, &r, red);
    SelectObject(dc, old);
    DeleteObject(red);
    DeleteDC(dc);
    ICONINFO info{TRUE, 0, 0, mask, color};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(color);
    DeleteObject(mask);
    return icon;
}

void DrawAlphaIcon(benchmark::State& state) {
    Canvas c;
    HICON icon = LoadIconA(nullptr, IDI_ASTERISK);  // drawn with alpha
    for (auto _ : state) DrawIconEx(c.dc, 10, 10, icon, 0, 0, 0, nullptr, DI_NORMAL);
    state.SetItemsProcessed(state.iterations() * 32 * 32);
}
BENCHMARK(DrawAlphaIcon);

void DrawMaskedIcon(benchmark::State& state) {
    Canvas c;
    HICON icon = MaskedIcon();
    for (auto _ : state) DrawIconEx(c.dc, 10, 10, icon, 0, 0, 0, nullptr, DI_NORMAL);
    state.SetItemsProcessed(state.iterations() * 32 * 32);
    DestroyIcon(icon);
}
BENCHMARK(DrawMaskedIcon);

void DrawIconDisabled(benchmark::State& state) {
    Canvas c;
    HICON icon = MaskedIcon();
    for (auto _ : state)
        DrawStateA(c.dc, nullptr, nullptr, LPARAM(icon), 0, 10, 10, 0, 0, DST_ICON | DSS_DISABLED);
    state.SetItemsProcessed(state.iterations() * 32 * 32);
    DestroyIcon(icon);
}
BENCHMARK(DrawIconDisabled);

void MeasureAndDrawCaption(benchmark::State& state) {
    Canvas c;
    SelectObject(c.dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(c.dc, TRANSPARENT);
    const char* caption = "Start again";
    for (auto _ : state) {
        RECT r{0, 0, 90, 60};
        DrawTextA(c.dc, caption, -1, &r, DT_WORDBREAK | DT_CENTER | DT_CALCRECT);
        DrawTextA(c.dc, caption, -1, &r, DT_WORDBREAK | DT_CENTER);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(std::strlen(caption)));
}
BENCHMARK(MeasureAndDrawCaption);

}  // namespace
