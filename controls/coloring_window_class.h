// The window class that each colouring control registers for itself.
#pragma once

#include <afxwin.h>

// The paint-brush cursor of the canvas and the palette.
constexpr UINT kPaintBrushCursorId = 131;

// Registers the class `lpszClassName` as the colouring controls want it
// (redrawn on resizing, double clicks, the default procedure, the brush of
// system colour 14) unless a class of that name exists, with `hCursor`, or
// the paint-brush cursor when it is null. A failure raises
// CResourceException.
void RegisterColoringWindowClass(LPCTSTR lpszClassName, HCURSOR hCursor = nullptr);
