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
// Canvas: what can be undone or redone changed; dwValue has bit 0 set when
// a step can be undone and bit 1 when one can be redone.
constexpr UINT CVN_HISTORYCHANGED = 3;
constexpr DWORD CVN_CANUNDO = 1;
constexpr DWORD CVN_CANREDO = 2;
