// The record of the colouring controls' WM_NOTIFY messages to their parent.
#pragma once

#include <windows.h>

struct NMCTRLVALUE {
    NMHDR hdr;
    DWORD dwValue;
};

// Palette: a colour was picked; dwValue is its COLORREF.
constexpr UINT PCN_COLORSELECTED = 1;
// Thumbnails: an item was picked; dwValue is its number, or (DWORD)-1.
constexpr UINT THN_ITEMSELECTED = 2;
