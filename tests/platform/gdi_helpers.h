// Small helpers shared by the GDI tests: a memory DC holding a 32-bit
// bitmap, and reading its pixels back.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace gdi_test {

// A memory DC with a w x h screen-compatible bitmap selected, filled with
// `fill`. Cleans up after itself.
class MemCanvas {
public:
    MemCanvas(int w, int h, COLORREF fill = RGB(255, 255, 255)) : w_(w), h_(h) {
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateCompatibleBitmap(nullptr, w, h);
        old = SelectObject(dc, bitmap);
        Fill(fill);
    }
    ~MemCanvas() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    MemCanvas(const MemCanvas&) = delete;
    MemCanvas& operator=(const MemCanvas&) = delete;

    void Fill(COLORREF c) {
        HBRUSH b = CreateSolidBrush(c);
        RECT r{0, 0, w_, h_};
        FillRect(dc, &r, b);
        DeleteObject(b);
    }
    COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
    // Every pixel, row by row.
    std::vector<COLORREF> Pixels() const {
        std::vector<COLORREF> p;
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x) p.push_back(GetPixel(dc, x, y));
        return p;
    }
    // The picture as text, one character per pixel: '#' for `ink`, '.' for
    // anything else. Handy for comparing small shapes.
    std::string Map(COLORREF ink) const {
        std::string s;
        for (int y = 0; y < h_; ++y) {
            for (int x = 0; x < w_; ++x) s += GetPixel(dc, x, y) == ink ? '#' : '.';
            s += '\n';
        }
        return s;
    }
    int Count(COLORREF c) const {
        int n = 0;
        for (COLORREF p : Pixels()) n += p == c;
        return n;
    }

    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;

private:
    int w_, h_;
};

// Draws a text picture on the canvas: '#' is `ink`, anything else `paper`.
inline void Paint(MemCanvas& c, const std::vector<std::string>& rows, COLORREF ink,
                  COLORREF paper = RGB(255, 255, 255)) {
    for (size_t y = 0; y < rows.size(); ++y)
        for (size_t x = 0; x < rows[y].size(); ++x)
            SetPixel(c.dc, int(x), int(y), rows[y][x] == '#' ? ink : paper);
}

inline std::string Join(const std::vector<std::string>& rows) {
    std::string s;
    for (const auto& r : rows) s += r + "\n";
    return s;
}

}  // namespace gdi_test
