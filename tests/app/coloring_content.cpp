#include "coloring_content.h"

#include <cstdio>
#include <fstream>

namespace app_test {
namespace {

void Put16(std::string& out, unsigned v) {
    out += char(v & 0xFF);
    out += char((v >> 8) & 0xFF);
}
void Put32(std::string& out, unsigned v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

}  // namespace

POINT LeftRoom(int w, int h) {
    return POINT{kFrameInset + 3 + (w / 2 - kFrameInset - 3) / 2, h / 2};
}
POINT RightRoom(int w, int h) { return POINT{w / 2 + 2 + (w - kFrameInset - w / 2) / 2, h / 2}; }
POINT Margin() { return POINT{2, 2}; }

bool WriteLineArt(const std::string& path, int w, int h, COLORREF left, COLORREF right) {
    auto colourAt = [&](int x, int y) -> COLORREF {
        const int l = kFrameInset, t = kFrameInset, r = w - kFrameInset, b = h - kFrameInset;
        bool inFrame = x >= l && x < r && y >= t && y < b;
        if (!inFrame) return kWhite;
        bool onFrame = x < l + 3 || x >= r - 3 || y < t + 3 || y >= b - 3;
        bool onBar = x >= w / 2 - 1 && x < w / 2 + 2;
        if (onFrame || onBar) return kBlack;
        return x < w / 2 ? left : right;
    };
    const unsigned stride = (unsigned(w) * 3 + 3) & ~3u;
    std::string out = "BM";
    Put32(out, 54 + stride * unsigned(h));
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, unsigned(w));
    Put32(out, unsigned(h));
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);
    Put32(out, stride * unsigned(h));
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        std::string row;
        for (int x = 0; x < w; ++x) {
            COLORREF c = colourAt(x, y);
            row += char(GetBValue(c));
            row += char(GetGValue(c));
            row += char(GetRValue(c));
        }
        row.resize(stride, '\0');
        out += row;
    }
    std::ofstream file(path, std::ios::binary);
    file << out;
    return bool(file);
}

bool WriteCatalogue(const std::string& path, const std::vector<std::vector<std::string>>& rows) {
    std::ofstream file(path, std::ios::binary);
    file << "heading\r\n";
    for (const auto& row : rows) {
        for (size_t i = 0; i < row.size(); ++i) file << (i ? "\t" : "") << row[i];
        file << "\r\n";
    }
    return bool(file);
}

Picture ReadPicture(const std::string& path) {
    Picture picture;
    HBITMAP bitmap = static_cast<HBITMAP>(
        ::LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    if (!bitmap) return picture;
    BITMAP bm{};
    ::GetObjectA(bitmap, sizeof bm, &bm);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    picture.width = bm.bmWidth;
    picture.height = bm.bmHeight;
    picture.pixels.resize(size_t(bm.bmWidth) * size_t(bm.bmHeight));
    for (int y = 0; y < bm.bmHeight; ++y)
        for (int x = 0; x < bm.bmWidth; ++x)
            picture.pixels[size_t(y) * size_t(bm.bmWidth) + size_t(x)] = ::GetPixel(dc, x, y);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::DeleteObject(bitmap);
    return picture;
}

}  // namespace app_test
