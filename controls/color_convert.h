// The colour mixer's conversions between red, green, blue (0 to 255 each) and
// hue (whole degrees 0 to 359), saturation and brightness (0 to 255 each).
#pragma once

void RgbToHsb(int nRed, int nGreen, int nBlue, int& nHue, int& nSaturation, int& nBrightness);
void HsbToRgb(int nHue, int nSaturation, int nBrightness, int& nRed, int& nGreen, int& nBlue);
