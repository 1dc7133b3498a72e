// Software GDI on 32-bit pixels: device contexts, bitmaps and DIBs, pens,
// brushes, blits, lines, rectangles, flood fill, LoadImageA of BMP files.
#pragma once
#include "types.h"
