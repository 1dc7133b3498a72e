// Small, known content for the colouring screens' end-to-end tests: line-art
// pictures whose regions sit at known places, their coloured samples, and
// the three catalogues.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace app_test {

// A line-art picture of w x h: white, a 3-pixel black frame inset by
// kFrameInset, and a 3-pixel black bar down the middle of the frame. Its
// regions: the margin outside the frame, the left room and the right room.
// With `left`/`right` the rooms are filled (a coloured sample).
inline constexpr int kFrameInset = 10;
inline constexpr COLORREF kWhite = RGB(255, 255, 255);
inline constexpr COLORREF kBlack = RGB(0, 0, 0);
bool WriteLineArt(const std::string& path, int w, int h, COLORREF left = kWhite,
                  COLORREF right = kWhite);

// A point inside each region of a w x h line-art picture.
POINT LeftRoom(int w, int h);
POINT RightRoom(int w, int h);
POINT Margin();

// A catalogue: the heading line, then one line per row, fields joined by
// tabs, lines ended by CR LF.
bool WriteCatalogue(const std::string& path, const std::vector<std::vector<std::string>>& rows);

// Reads a BMP file as the program would; width 0 when it does not load.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;  // top-down
    COLORREF At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};
Picture ReadPicture(const std::string& path);

}  // namespace app_test
