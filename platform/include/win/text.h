// Fonts and text: font weights and character sets, text metrics, the DrawText
// format flags and the process font table (AddFontResourceA and
// RemoveFontResourceA). Drawing with a DC goes through the text engine in
// platform/text/.
#pragma once
#include "types.h"

// Font weights.
#define FW_DONTCARE 0
#define FW_THIN 100
#define FW_LIGHT 300
#define FW_NORMAL 400
#define FW_MEDIUM 500
#define FW_SEMIBOLD 600
#define FW_BOLD 700
#define FW_HEAVY 900

#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define OUT_DEFAULT_PRECIS 0
#define CLIP_DEFAULT_PRECIS 0
#define DEFAULT_QUALITY 0
#define ANTIALIASED_QUALITY 4
#define DEFAULT_PITCH 0
#define FF_DONTCARE 0
#define FF_SWISS 0x20

#define LF_FACESIZE 32

// lfHeight > 0 asks for a cell height (ascent + descent) in pixels,
// lfHeight < 0 for a character (em) height of -lfHeight pixels, 0 for the
// default size.
typedef struct tagLOGFONTA {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    CHAR lfFaceName[LF_FACESIZE];
} LOGFONTA, *PLOGFONTA, *LPLOGFONTA;
typedef LOGFONTA LOGFONT;

typedef struct tagTEXTMETRICA {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    BYTE tmFirstChar;
    BYTE tmLastChar;
    BYTE tmDefaultChar;
    BYTE tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
} TEXTMETRICA, *PTEXTMETRICA, *LPTEXTMETRICA;
typedef TEXTMETRICA TEXTMETRIC;

// DrawText format flags.
#define DT_TOP 0x00000000
#define DT_LEFT 0x00000000
#define DT_CENTER 0x00000001
#define DT_RIGHT 0x00000002
#define DT_VCENTER 0x00000004
#define DT_BOTTOM 0x00000008
#define DT_WORDBREAK 0x00000010
#define DT_SINGLELINE 0x00000020
#define DT_NOCLIP 0x00000100
#define DT_CALCRECT 0x00000400
#define DT_NOPREFIX 0x00000800
#define DT_END_ELLIPSIS 0x00008000
#define DT_EXPANDTABS 0x00000040
#define DT_HIDEPREFIX 0x00100000

// TextOutA reference point (SetTextAlign).
#define TA_NOUPDATECP 0
#define TA_UPDATECP 1
#define TA_LEFT 0
#define TA_RIGHT 2
#define TA_CENTER 6
#define TA_TOP 0
#define TA_BOTTOM 8
#define TA_BASELINE 24

// Text on a device context, in the DC's selected font (SYSTEM_FONT until one
// is selected), text colour, background colour and background mode. Strings
// are Windows-1252. DrawTextA takes a count of -1 for a NUL-terminated
// string; the others need the count.
//
// DrawTextA lays `text` out in `rect` by `format` (DT_*) and returns the
// height of the text drawn, 0 on failure; with DT_CALCRECT it draws nothing
// and sets rect's right and bottom to the size the text needs. An '&' marks
// the next character as underlined unless DT_NOPREFIX ("&&" is one '&').
int WINAPI DrawTextA(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format);
#define DrawText DrawTextA
BOOL WINAPI TextOutA(HDC dc, int x, int y, LPCSTR text, int count);
#define TextOut TextOutA
BOOL WINAPI GetTextExtentPoint32A(HDC dc, LPCSTR text, int count, LPSIZE size);
#define GetTextExtentPoint32 GetTextExtentPoint32A
BOOL WINAPI GetTextMetricsA(HDC dc, LPTEXTMETRICA metrics);
#define GetTextMetrics GetTextMetricsA
int WINAPI GetTextFaceA(HDC dc, int size, LPSTR face);
#define GetTextFace GetTextFaceA
UINT WINAPI SetTextAlign(HDC dc, UINT align);
UINT WINAPI GetTextAlign(HDC dc);

// Registers the family of the TrueType/OpenType file at `path` (backslashes
// allowed) for this process. Returns the number of faces added, 0 on failure.
// Each call adds one reference; RemoveFontResourceA drops one.
int WINAPI AddFontResourceA(LPCSTR path);
BOOL WINAPI RemoveFontResourceA(LPCSTR path);
