// Pictures that parents add are made colourable when they are loaded:
// pure black outlines on white, fitted into the canvas area.
#pragma once

#include "imagelib/pix_image.h"

// A pixel whose brightness (0.299 R + 0.587 G + 0.114 B) is below this is
// part of an outline. Set high enough that the grey edge of anti-aliased or
// scanned lines counts as line, so outlines stay closed.
inline constexpr int kOutlineThreshold = 160;

// The outlines of `source` as a 24-bit picture of pure black on white,
// fitted into cx x cy keeping its shape (a picture of exactly that size
// keeps its size; smaller ones are enlarged). A result pixel is black when
// any source pixel it covers is dark, so that thin lines survive shrinking.
// FALSE, with result empty, when the source is empty or memory runs out.
bool MakeColourable(const PixImage& source, PixImage& result, int cx = 600, int cy = 400);
