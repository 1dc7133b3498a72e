// Pictures of the standard cursors (IDC_*) and icons (IDI_*), drawn at 32 x
// 32 from a few shapes, so that they can be drawn, inspected and turned
// into native cursors like any other.
#include <cmath>
#include <memory>

#include "gdi/icons.h"

namespace win::icons {
namespace {

constexpr int kSize = 32;
constexpr uint32_t kBlack = 0xFF000000;
constexpr uint32_t kWhite = 0xFFFFFFFF;

struct Picture {
    std::shared_ptr<IconObject> icon = std::make_shared<IconObject>();
    Picture(int hotX, int hotY) {
        icon->width = icon->height = kSize;
        icon->hotspotX = hotX;
        icon->hotspotY = hotY;
        icon->hasAlpha = true;
        icon->color.assign(kSize * kSize, 0);
        icon->mask.assign(kSize * kSize, 1);
    }
    void Set(int x, int y, uint32_t argb) {
        if (x < 0 || y < 0 || x >= kSize || y >= kSize) return;
        icon->color[size_t(y) * kSize + x] = argb;
        icon->mask[size_t(y) * kSize + x] = 0;
    }
    void Rect(int x0, int y0, int x1, int y1, uint32_t argb) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) Set(x, y, argb);
    }
    // A filled disc with an outline of `edge`.
    void Disc(double cx, double cy, double r, uint32_t fill, uint32_t edge) {
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
                if (d <= r) Set(x, y, d > r - 1.2 ? edge : fill);
            }
    }
    void Ring(double cx, double cy, double inner, double outer, uint32_t argb) {
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x) {
                double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
                if (d >= inner && d <= outer) Set(x, y, argb);
            }
    }
    // Rows of a picture: '#' black, '.' white, anything else transparent.
    void Art(const char* const* rows, int count, int x0, int y0) {
        for (int y = 0; y < count; ++y)
            for (int x = 0; rows[y][x]; ++x) {
                if (rows[y][x] == '#')
                    Set(x0 + x, y0 + y, kBlack);
                else if (rows[y][x] == '.')
                    Set(x0 + x, y0 + y, kWhite);
            }
    }
};

const char* const kArrow[] = {
    "#",         "##",         "#.#",        "#..#",        "#...#",        "#....#",   "#.....#",
    "#......#",  "#.......#",  "#........#", "#.........#", "#......#####", "#...#..#", "#..# #..#",
    "#.#  #..#", "##    #..#", "#     #..#", "       #..#", "       ##",
};

std::shared_ptr<IconObject> Cursor(int id) {
    switch (id) {
        case 32512:    // arrow
        case 32649: {  // hand: drawn as the arrow
            Picture p(0, 0);
            p.Art(kArrow, int(sizeof kArrow / sizeof *kArrow), 0, 0);
            return p.icon;
        }
        case 32513: {  // I-beam
            Picture p(16, 16);
            p.Rect(13, 6, 20, 7, kBlack);
            p.Rect(13, 25, 20, 26, kBlack);
            p.Rect(16, 6, 17, 26, kBlack);
            return p.icon;
        }
        case 32514: {  // wait: an hourglass
            Picture p(16, 16);
            for (int y = 4; y < 28; ++y) {
                int half = std::abs(y - 16) * 9 / 12 + 1;
                p.Rect(16 - half, y, 16 + half, y + 1, y == 4 || y == 27 ? kBlack : kWhite);
                p.Set(16 - half - 1, y, kBlack);
                p.Set(16 + half, y, kBlack);
            }
            return p.icon;
        }
        case 32515:    // cross
        case 32646: {  // move: a bolder cross
            Picture p(16, 16);
            int t = id == 32646 ? 1 : 0;
            p.Rect(16 - t, 4, 17 + t, 29, kBlack);
            p.Rect(4, 16 - t, 29, 17 + t, kBlack);
            return p.icon;
        }
        case 32648: {  // no: a red ring with a bar
            Picture p(16, 16);
            p.Ring(16, 16, 9, 12, 0xFFCC0000);
            for (int i = -7; i <= 7; ++i)
                p.Rect(16 + i - 1, 16 + i - 1, 16 + i + 2, 16 + i + 2, 0xFFCC0000);
            return p.icon;
        }
        default: return nullptr;
    }
}

std::shared_ptr<IconObject> Icon(int id) {
    Picture p(kSize / 2, kSize / 2);
    switch (id) {
        case 32512:    // application
        case 32517: {  // logo
            p.Rect(2, 4, 30, 28, kBlack);
            p.Rect(3, 5, 29, 27, kWhite);
            p.Rect(3, 5, 29, 9, 0xFF000080);
            return p.icon;
        }
        case 32513: {  // hand (error): a red disc with a white cross
            p.Disc(16, 16, 14, 0xFFE00000, 0xFF800000);
            for (int i = -6; i <= 6; ++i) {
                p.Rect(16 + i - 1, 16 + i - 1, 16 + i + 2, 16 + i + 2, kWhite);
                p.Rect(16 + i - 1, 16 - i - 1, 16 + i + 2, 16 - i + 2, kWhite);
            }
            return p.icon;
        }
        case 32514:    // question
        case 32516: {  // asterisk (information): a blue disc with a white mark
            p.Disc(16, 16, 14, 0xFF2060E0, 0xFF103080);
            if (id == 32516) {
                p.Rect(14, 7, 18, 11, kWhite);
                p.Rect(14, 13, 18, 25, kWhite);
            } else {
                p.Rect(12, 7, 20, 10, kWhite);
                p.Rect(17, 10, 20, 15, kWhite);
                p.Rect(14, 14, 18, 19, kWhite);
                p.Rect(14, 21, 18, 25, kWhite);
            }
            return p.icon;
        }
        case 32515: {  // exclamation: a yellow triangle with a black bar
            for (int y = 3; y < 29; ++y) {
                int half = (y - 3) * 14 / 26 + 1;
                p.Rect(16 - half, y, 16 + half, y + 1, y == 28 ? kBlack : 0xFFFFD800);
                p.Set(16 - half - 1, y, kBlack);
                p.Set(16 + half, y, kBlack);
            }
            p.Rect(15, 10, 17, 21, kBlack);
            p.Rect(15, 23, 17, 26, kBlack);
            return p.icon;
        }
        default: return nullptr;
    }
}

}  // namespace

std::shared_ptr<IconObject> MakeStandardImage(int id, bool cursor) {
    return cursor ? Cursor(id) : Icon(id);
}

}  // namespace win::icons
