// libFuzzer target: LoadImageA's BMP reader, as a DDB and as a DIB section,
// then the bitmap read back through GetDIBits so that every pixel is touched.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "gdi/bmpfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (UINT flags : {UINT(0), UINT(LR_CREATEDIBSECTION)}) {
        HBITMAP bm = win::gdi::BitmapFromBmp(data, size, 0, 0, flags);
        if (!bm) continue;
        BITMAP rec{};
        if (GetObject(bm, sizeof(rec), &rec) == int(sizeof(rec))) {
            BITMAPINFO info{};
            info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
            info.bmiHeader.biWidth = rec.bmWidth;
            info.bmiHeader.biHeight = rec.bmHeight;
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32;
            std::vector<uint32_t> pixels(size_t(rec.bmWidth) * size_t(rec.bmHeight));
            GetDIBits(nullptr, bm, 0, UINT(rec.bmHeight), pixels.data(), &info, DIB_RGB_COLORS);
        }
        DeleteObject(bm);
    }
    return 0;
}
