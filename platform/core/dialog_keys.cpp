// IsDialogMessageA: the keyboard of a dialog. Tab and Shift+Tab move the
// focus among tab stops, Enter runs the default push button (or IDOK),
// Escape runs IDCANCEL; a control takes keys for itself through
// WM_GETDLGCODE.
#include <windows.h>

namespace {

bool ShiftDown() { return (GetKeyState(VK_SHIFT) & 0x8000) != 0; }

void Command(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    if (control && !IsWindowEnabled(control)) return;  // a disabled button does nothing
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

// The id Enter runs: the focused push button, else the dialog's default.
int DefaultId(HWND dialog, HWND focus, LRESULT focusCode) {
    if (focus && (focusCode & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) return GetDlgCtrlID(focus);
    LRESULT def = SendMessageA(dialog, DM_GETDEFID, 0, 0);
    return HIWORD(def) == DC_HASDEFID ? LOWORD(def) : IDOK;
}

}  // namespace

BOOL WINAPI IsDialogMessageA(HWND dialog, LPMSG msg) {
    if (!msg || !IsWindow(dialog)) return FALSE;
    if (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)) return FALSE;
    if (msg->message == WM_KEYDOWN || msg->message == WM_CHAR) {
        UINT key = UINT(msg->wParam);
        bool keydown = msg->message == WM_KEYDOWN;
        bool special = keydown ? (key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE)
                               : (key == '\t' || key == '\r' || key == 0x1B);
        if (special) {
            LRESULT code = SendMessageA(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg));
            bool wantsAll = (code & DLGC_WANTMESSAGE) != 0;
            bool wantsTab = wantsAll || (code & DLGC_WANTTAB);
            bool takesIt = (key == VK_TAB || key == '\t') ? wantsTab : wantsAll;
            if (!takesIt) {
                if (!keydown) return TRUE;  // its character is eaten with the key
                HWND focus = GetFocus();
                if (focus != dialog && !IsChild(dialog, focus)) focus = nullptr;
                if (key == VK_TAB) {
                    HWND next = GetNextDlgTabItem(dialog, focus, ShiftDown() ? TRUE : FALSE);
                    if (next) SetFocus(next);
                } else if (key == VK_RETURN) {
                    LRESULT focusCode =
                        focus ? SendMessageA(focus, WM_GETDLGCODE, 0, 0) : 0;
                    Command(dialog, DefaultId(dialog, focus, focusCode));
                } else {
                    Command(dialog, IDCANCEL);
                }
                return TRUE;
            }
        }
    }
    TranslateMessage(msg);
    DispatchMessageA(msg);
    return TRUE;
}
