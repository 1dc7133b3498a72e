// The picture every screen paints as its background when it erases.
#pragma once

#include <afxwin.h>

// Paints `bmpBackground` 1:1 at the client's top-left; where the picture is
// smaller than the client area, the rest takes the dialog colour. FALSE when
// there is no picture: the caller then erases in the default way.
BOOL PaintScreenBackground(CWnd* pScreen, CDC* pDC, CBitmap& bmpBackground);
