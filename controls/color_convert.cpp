// RGB to HSB and back, with the rounding the mixer's pictures are drawn to:
// every result is truncated toward zero.
#include "controls/color_convert.h"

#include <algorithm>

namespace {

int Clamp255(int n) { return std::clamp(n, 0, 255); }

}  // namespace

void RgbToHsb(int nRed, int nGreen, int nBlue, int& nHue, int& nSaturation, int& nBrightness) {
    const int r = Clamp255(nRed), g = Clamp255(nGreen), b = Clamp255(nBlue);
    const int nMax = std::max({r, g, b});
    const int nMin = std::min({r, g, b});
    nBrightness = nMax;
    if (nMax == nMin) {
        nHue = 0;
        nSaturation = 0;
        return;
    }
    const double d = nMax - nMin;
    nSaturation = int(d / nMax * 255);
    // Red wins ties, then green.
    double dHue;
    if (r == nMax)
        dHue = (g - b) / d;
    else if (g == nMax)
        dHue = (b - r) / d + 2;
    else
        dHue = (r - g) / d + 4;
    dHue *= 60;
    if (dHue < 0) dHue += 360;
    nHue = int(dHue);
    if (nHue == 360) nHue = 0;
}

void HsbToRgb(int nHue, int nSaturation, int nBrightness, int& nRed, int& nGreen, int& nBlue) {
    // Out-of-range input is brought into range first, so the result always
    // is a colour.
    const int h = ((nHue % 360) + 360) % 360;
    const int s = Clamp255(nSaturation);
    const int v = Clamp255(nBrightness);
    const double k = double(v) * s / 255;
    const double m = v - k;
    double r, g, b;
    if (h <= 60) {
        r = v, g = m + k * h / 60, b = m;
    } else if (h <= 119) {
        r = m + k * (2 - h / 60.0), g = v, b = m;
    } else if (h <= 179) {
        r = m, g = v, b = m + k * (h / 60.0 - 2);
    } else if (h <= 239) {
        r = m, g = m + k * (4 - h / 60.0), b = v;
    } else if (h <= 300) {
        r = m + k * (h / 60.0 - 4), g = m, b = v;
    } else {
        r = v, g = m, b = m + k * (360 - h) / 60;
    }
    nRed = Clamp255(int(r));
    nGreen = Clamp255(int(g));
    nBlue = Clamp255(int(b));
}
