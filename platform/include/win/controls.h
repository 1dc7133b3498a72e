// The standard controls ("BUTTON", "STATIC", "LISTBOX", "COMBOBOX",
// "tooltips_class32"), their owner-draw records, message boxes and the shell.
#pragma once
#include "text.h"  // LOGFONTA, for the message font
#include "types.h"
#include "user.h"  // the control styles and messages shared with dialogs

// ---- Owner draw -------------------------------------------------------------
#define ODT_STATIC 5

// ---- Buttons -------------------------------------------------------------
#define BS_ICON 0x00000040L
#define BS_BITMAP 0x00000080L

// ---- Static controls ---------------------------------------------------------
#define SS_BLACKRECT 0x00000004L
#define SS_WHITERECT 0x00000006L
#define SS_SIMPLE 0x0000000BL
#define SS_LEFTNOWORDWRAP 0x0000000CL
#define SS_OWNERDRAW 0x0000000DL
#define SS_TYPEMASK 0x0000001FL
#define SS_NOPREFIX 0x00000080L
#define SS_CENTERIMAGE 0x00000200L
#define SS_SUNKEN 0x00001000L
#define STM_SETICON 0x0170
#define STM_GETICON 0x0171
#define STM_SETIMAGE 0x0172
#define STM_GETIMAGE 0x0173
#define STN_CLICKED 0

// ---- List boxes ----------------------------------------------------------------
#define LBS_STANDARD (LBS_NOTIFY | LBS_SORT | WS_VSCROLL | WS_BORDER)

#define LB_OKAY 0
#define LB_ERRSPACE (-2)

#define LBN_ERRSPACE (-2)

// ---- Combo boxes -------------------------------------------------------------

#define CB_OKAY 0
#define CB_ERRSPACE (-2)
#define CB_GETDROPPEDWIDTH 0x015F
#define CB_SETDROPPEDWIDTH 0x0160

#define CBN_ERRSPACE (-1)

// ---- Scroll bars ----------------------------------------------------------------

#define VK_F4 0x73

// ---- Tool-tips (accepted, never shown) ----------------------------------------------
#define TOOLTIPS_CLASSA "tooltips_class32"
#define TOOLTIPS_CLASS TOOLTIPS_CLASSA
#define TTS_ALWAYSTIP 0x01
#define TTS_NOPREFIX 0x02
#define TTF_IDISHWND 0x0001
#define TTF_SUBCLASS 0x0010
#define TTM_ACTIVATE (WM_USER + 1)
#define TTM_SETDELAYTIME (WM_USER + 3)
#define TTM_ADDTOOLA (WM_USER + 4)
#define TTM_DELTOOLA (WM_USER + 5)
#define TTM_RELAYEVENT (WM_USER + 7)
#define TTM_UPDATETIPTEXTA (WM_USER + 12)
#define TTM_GETTOOLCOUNT (WM_USER + 13)
#define TTM_SETMAXTIPWIDTH (WM_USER + 24)
#define TTM_ADDTOOL TTM_ADDTOOLA
#define TTM_DELTOOL TTM_DELTOOLA
#define TTM_UPDATETIPTEXT TTM_UPDATETIPTEXTA
typedef struct tagTOOLINFOA {
    UINT cbSize;
    UINT uFlags;
    HWND hwnd;
    UINT_PTR uId;
    RECT rect;
    HINSTANCE hinst;
    LPSTR lpszText;
    LPARAM lParam;
    void* lpReserved;
} TOOLINFOA, *LPTOOLINFOA, TOOLINFO, *LPTOOLINFO;

// ---- The shell ------------------------------------------------------------------
HINSTANCE WINAPI ShellExecuteA(HWND hwnd, LPCSTR operation, LPCSTR file, LPCSTR parameters,
                               LPCSTR directory, INT showCommand);
#define ShellExecute ShellExecuteA
#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_OOM 8
#define SE_ERR_NOASSOC 31
// The user's folders, as the desktop names them: CSIDL_MYPICTURES is
// `xdg-user-dir PICTURES` (else home), CSIDL_LOCAL_APPDATA is
// $XDG_DATA_HOME (else ~/.local/share), CSIDL_INTERNET_CACHE is
// $XDG_CACHE_HOME (else ~/.cache). No folder is created. S_OK, or E_FAIL
// for another folder; `path` takes MAX_PATH bytes.
typedef LONG HRESULT;
#define S_OK ((HRESULT)0L)
#define E_FAIL ((HRESULT)0x80004005L)
#define CSIDL_LOCAL_APPDATA 0x001C
#define CSIDL_INTERNET_CACHE 0x0020
#define CSIDL_MYPICTURES 0x0027
HRESULT WINAPI SHGetFolderPathA(HWND hwnd, int folder, HANDLE token, DWORD flags, LPSTR path);
#define SHGetFolderPath SHGetFolderPathA

// ---- Message boxes ----------------------------------------------------------------
#define MB_TYPEMASK 0x0000000FL
#define MB_ICONMASK 0x000000F0L
#define MB_DEFMASK 0x00000F00L
int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
#define MessageBox MessageBoxA

// The fonts and sizes of the windows' non-client parts. Of these, message
// boxes use the message font for their text and buttons; the rest is kept
// and given back. Settings hold for the process.
typedef struct tagNONCLIENTMETRICSA {
    UINT cbSize;
    int iBorderWidth;
    int iScrollWidth;
    int iScrollHeight;
    int iCaptionWidth;
    int iCaptionHeight;
    LOGFONTA lfCaptionFont;
    int iSmCaptionWidth;
    int iSmCaptionHeight;
    LOGFONTA lfSmCaptionFont;
    int iMenuWidth;
    int iMenuHeight;
    LOGFONTA lfMenuFont;
    LOGFONTA lfStatusFont;
    LOGFONTA lfMessageFont;
} NONCLIENTMETRICSA;
#define SPI_GETNONCLIENTMETRICS 0x0029
#define SPI_SETNONCLIENTMETRICS 0x002A
// SPI_GETNONCLIENTMETRICS and SPI_SETNONCLIENTMETRICS, with `data` a
// NONCLIENTMETRICSA whose cbSize is set; other actions fail.
BOOL WINAPI SystemParametersInfoA(UINT action, UINT param, PVOID data, UINT winIni);
#define SystemParametersInfo SystemParametersInfoA

// ---- Edit controls (single line) ---------------------------------------------------
#define ES_LEFT 0x0000L
#define ES_AUTOHSCROLL 0x0080L
#define EM_LIMITTEXT 0x00C5
#define EN_CHANGE 0x0300

// ---- The save and open dialogs ----------------------------------------------------
typedef UINT_PTR(CALLBACK* LPOFNHOOKPROC)(HWND, UINT, WPARAM, LPARAM);
typedef struct tagOFNA {
    DWORD lStructSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    LPCSTR lpstrFilter;
    LPSTR lpstrCustomFilter;
    DWORD nMaxCustFilter;
    DWORD nFilterIndex;
    LPSTR lpstrFile;
    DWORD nMaxFile;
    LPSTR lpstrFileTitle;
    DWORD nMaxFileTitle;
    LPCSTR lpstrInitialDir;
    LPCSTR lpstrTitle;
    DWORD Flags;
    WORD nFileOffset;
    WORD nFileExtension;
    LPCSTR lpstrDefExt;
    LPARAM lCustData;
    LPOFNHOOKPROC lpfnHook;
    LPCSTR lpTemplateName;
    void* pvReserved;
    DWORD dwReserved;
    DWORD FlagsEx;
} OPENFILENAMEA, *LPOPENFILENAMEA, OPENFILENAME, *LPOPENFILENAME;
#define OFN_READONLY 0x00000001
#define OFN_OVERWRITEPROMPT 0x00000002
#define OFN_HIDEREADONLY 0x00000004
#define OFN_NOCHANGEDIR 0x00000008
#define OFN_ENABLEHOOK 0x00000020
#define OFN_PATHMUSTEXIST 0x00000800
#define OFN_FILEMUSTEXIST 0x00001000
#define OFN_EXPLORER 0x00080000
#define OFN_ENABLESIZING 0x00800000
#define CDERR_STRUCTSIZE 0x0001
#define CDERR_INITIALIZATION 0x0002
#define FNERR_BUFFERTOOSMALL 0x3003
BOOL WINAPI GetSaveFileNameA(LPOPENFILENAMEA ofn);
BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA ofn);
DWORD WINAPI CommDlgExtendedError(void);
#define GetSaveFileName GetSaveFileNameA
#define GetOpenFileName GetOpenFileNameA
