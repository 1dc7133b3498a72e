// The dialog manager: dialogs built from templates, their default window
// procedure, the modal loop and the dialog keyboard interface.
//
// Dialog units map to pixels through fixed base units of 6 x 13 (those of
// the 8-point sans serif dialog font): x * 6 / 4 and y * 13 / 8, rounded.
// A template's size is the dialog's client size.
#include <windows.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/dialog_create.h"
#include "resources/dialog_template.h"

namespace {

constexpr int kBaseX = 6;
constexpr int kBaseY = 13;

struct DialogState {
    DLGPROC proc = nullptr;
    bool ended = false;
    INT_PTR result = 0;
    int defId = IDOK;
    HFONT font = nullptr;
    bool ownsFont = false;
    HWND lastFocus = nullptr;
};

std::mutex& StatesLock() {
    static auto* lock = new std::mutex;
    return *lock;
}
std::map<HWND, std::shared_ptr<DialogState>>& States() {
    static auto* states = new std::map<HWND, std::shared_ptr<DialogState>>;
    return *states;
}

std::shared_ptr<DialogState> StateOf(HWND hwnd) {
    std::lock_guard<std::mutex> hold(StatesLock());
    auto it = States().find(hwnd);
    return it == States().end() ? nullptr : it->second;
}

// The state of the dialog being created on this thread: its first message
// binds it to the new window.
thread_local std::shared_ptr<DialogState> tPending;

std::shared_ptr<DialogState> BindState(HWND hwnd) {
    auto state = StateOf(hwnd);
    if (state || !tPending) return state;
    state = std::move(tPending);
    std::lock_guard<std::mutex> hold(StatesLock());
    States()[hwnd] = state;
    return state;
}

bool EnsureDialogClass() {
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefDlgProcA;
        wc.cbWndExtra = DLGWINDOWEXTRA;
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = WC_DIALOG;
        return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

int ToPixelsX(int units) { return MulDiv(units, kBaseX, 4); }
int ToPixelsY(int units) { return MulDiv(units, kBaseY, 8); }

// Whether `msg` is meant for `dialog` or one of its descendants.
bool Belongs(HWND dialog, HWND target) { return target == dialog || IsChild(dialog, target); }

HWND FirstTabStop(HWND dialog) {
    HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
    return first;
}

// Posts a click of button `id` as the dialog's keyboard interface does:
// only when that control is absent (IDOK/IDCANCEL always reach the dialog)
// or enabled.
void Click(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    if (control && !IsWindowEnabled(control)) return;
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

HFONT FontFor(const win::res::DialogTemplate& t, bool* owns) {
    *owns = false;
    if (t.hasFont && t.pointSize > 0 && !t.faceName.empty()) {
        HFONT font =
            CreateFontA(-MulDiv(t.pointSize, 96, 72), 0, 0, 0, t.weight ? t.weight : FW_NORMAL,
                        t.italic, FALSE, FALSE, DWORD(t.charSet), 0, 0, 0, 0, t.faceName.c_str());
        if (font) {
            *owns = true;
            return font;
        }
    }
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

RECT PlaceDialog(const win::res::DialogTemplate& t, HWND owner, DWORD style, DWORD exStyle) {
    RECT rect{0, 0, ToPixelsX(t.cx), ToPixelsY(t.cy)};
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    int x, y;
    if (style & WS_CHILD) {
        x = ToPixelsX(t.x);
        y = ToPixelsY(t.y);
    } else if (style & DS_CENTER) {
        RECT around{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        if (owner && IsWindowVisible(owner)) GetWindowRect(owner, &around);
        x = around.left + (around.right - around.left - width) / 2;
        y = around.top + (around.bottom - around.top - height) / 2;
    } else {
        POINT origin{0, 0};
        if (owner && !(style & DS_ABSALIGN)) ClientToScreen(owner, &origin);
        x = origin.x + ToPixelsX(t.x);
        y = origin.y + ToPixelsY(t.y);
    }
    if (!(style & WS_CHILD)) {
        // Keep the whole dialog on the screen where it fits.
        const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
        if (x + width > sw) x = sw - width;
        if (y + height > sh) y = sh - height;
        if (x < 0) x = 0;
        if (y < 0) y = 0;
    }
    return RECT{x, y, x + width, y + height};
}

HWND CreateFromTemplate(const win::res::DialogTemplate& t, HWND owner, DLGPROC proc, LPARAM param) {
    if (!EnsureDialogClass()) return nullptr;
    DWORD style = t.style;
    const DWORD exStyle = t.exStyle | ((style & DS_MODALFRAME) ? WS_EX_DLGMODALFRAME : 0);
    const bool visible = (style & WS_VISIBLE) != 0;
    style &= ~DWORD(WS_VISIBLE);
    if (owner && !(style & WS_CHILD)) owner = GetAncestor(owner, GA_ROOT);
    const RECT place = PlaceDialog(t, owner, style, exStyle);

    auto state = std::make_shared<DialogState>();
    state->proc = proc;
    bool ownsFont = false;
    state->font = FontFor(t, &ownsFont);
    state->ownsFont = ownsFont;
    tPending = state;
    const char* cls = t.className.empty() ? WC_DIALOG : t.className.c_str();
    HWND dialog = CreateWindowExA(exStyle, cls, t.title.c_str(), style, place.left, place.top,
                                  place.right - place.left, place.bottom - place.top, owner,
                                  nullptr, nullptr, reinterpret_cast<LPVOID>(param));
    if (tPending) {  // the window never saw a message: creation failed early
        tPending.reset();
        if (ownsFont) DeleteObject(state->font);
        return nullptr;
    }
    if (!dialog) return nullptr;

    for (const auto& item : t.items) {
        std::string text = item.text;
        if (item.textId >= 0 && text.empty()) text = "#" + std::to_string(item.textId);
        HWND control = CreateWindowExA(
            item.exStyle | WS_EX_NOPARENTNOTIFY, item.className.c_str(), text.c_str(),
            (item.style | WS_CHILD) & ~DWORD(WS_POPUP), ToPixelsX(item.x), ToPixelsY(item.y),
            ToPixelsX(item.cx), ToPixelsY(item.cy), dialog,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(item.id)), nullptr, nullptr);
        if (!control) {
            // A dialog with a control missing is not the dialog asked for.
            DestroyWindow(dialog);
            return nullptr;
        }
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(state->font), FALSE);
        if ((item.style & 0x0F) == 0x01 /* BS_DEFPUSHBUTTON */ &&
            (SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON))
            state->defId = item.id;
    }

    HWND first = FirstTabStop(dialog);
    if (SendMessageA(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param)) {
        if (IsWindow(dialog)) {
            first = FirstTabStop(dialog);
            if (first) SetFocus(first);
        }
    }
    if (!IsWindow(dialog)) return nullptr;
    if (visible && !state->ended) {
        ShowWindow(dialog, SW_SHOWNORMAL);
        UpdateWindow(dialog);
    }
    return dialog;
}

// Trusted in-process templates are read up to their own end.
constexpr size_t kIndirectLimit = size_t(1) << 20;

INT_PTR RunModal(HWND dialog, HWND owner) {
    auto state = StateOf(dialog);
    if (!state) return -1;
    const bool disableOwner = owner && IsWindowEnabled(owner);
    if (disableOwner) EnableWindow(owner, FALSE);
    if (!state->ended && !IsWindowVisible(dialog)) {
        ShowWindow(dialog, SW_SHOWNORMAL);
        UpdateWindow(dialog);
    }
    if (!state->ended) {
        SetActiveWindow(dialog);
        HWND focus = GetFocus();
        if (!focus || !Belongs(dialog, focus)) {
            HWND first = FirstTabStop(dialog);
            SetFocus(first ? first : dialog);
        }
    }
    MSG msg;
    while (!state->ended && IsWindow(dialog)) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            // WM_QUIT ends the dialog and goes on to the outer loop.
            if (got == 0) PostQuitMessage(int(msg.wParam));
            break;
        }
        if (!IsDialogMessageA(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    if (disableOwner) EnableWindow(owner, TRUE);
    const INT_PTR result = state->ended ? state->result : -1;
    if (IsWindow(dialog)) {
        if (owner && GetActiveWindow() == dialog) SetActiveWindow(owner);
        DestroyWindow(dialog);
    }
    return result;
}

INT_PTR ModalFromTemplate(const win::res::DialogTemplate& t, HWND owner, DLGPROC proc,
                          LPARAM param) {
    if (owner) owner = GetAncestor(owner, GA_ROOT);
    win::res::DialogTemplate hidden = t;
    hidden.style &= ~DWORD(WS_VISIBLE);  // shown once the owner is disabled
    hidden.style &= ~DWORD(WS_CHILD);
    HWND dialog = CreateFromTemplate(hidden, owner, proc, param);
    if (!dialog) return -1;
    return RunModal(dialog, owner);
}

}  // namespace

namespace win::core {

HWND CreateDialogFromResource(LPCSTR templateName, HWND owner, DLGPROC proc, LPARAM param) {
    win::res::DialogTemplate t;
    if (!win::res::LoadDialogTemplate(templateName, t)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    t.style &= ~DWORD(WS_VISIBLE | WS_CHILD);  // the caller shows it once its owner is disabled
    if (owner) owner = GetAncestor(owner, GA_ROOT);
    return CreateFromTemplate(t, owner, proc, param);
}

}  // namespace win::core

HWND WINAPI CreateDialogParamA(HINSTANCE, LPCSTR templateName, HWND owner, DLGPROC proc,
                               LPARAM param) {
    win::res::DialogTemplate t;
    if (!win::res::LoadDialogTemplate(templateName, t)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    return CreateFromTemplate(t, owner, proc, param);
}

HWND WINAPI CreateDialogIndirectParamA(HINSTANCE, const void* dialogTemplate, HWND owner,
                                       DLGPROC proc, LPARAM param) {
    win::res::DialogTemplate t;
    if (!dialogTemplate || !win::res::ParseDialogTemplate(dialogTemplate, kIndirectLimit, t)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return CreateFromTemplate(t, owner, proc, param);
}

INT_PTR WINAPI DialogBoxParamA(HINSTANCE, LPCSTR templateName, HWND owner, DLGPROC proc,
                               LPARAM param) {
    win::res::DialogTemplate t;
    if (!win::res::LoadDialogTemplate(templateName, t)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return -1;
    }
    return ModalFromTemplate(t, owner, proc, param);
}

INT_PTR WINAPI DialogBoxIndirectParamA(HINSTANCE, const void* dialogTemplate, HWND owner,
                                       DLGPROC proc, LPARAM param) {
    win::res::DialogTemplate t;
    if (!dialogTemplate || !win::res::ParseDialogTemplate(dialogTemplate, kIndirectLimit, t)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    return ModalFromTemplate(t, owner, proc, param);
}

BOOL WINAPI EndDialog(HWND dialog, INT_PTR result) {
    auto state = StateOf(dialog);
    if (!state) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    state->ended = true;
    state->result = result;
    ShowWindow(dialog, SW_HIDE);
    PostMessageA(dialog, WM_NULL, 0, 0);  // wakes the modal loop
    return TRUE;
}

LRESULT WINAPI DefDlgProcA(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto state = BindState(dialog);
    if (state && state->proc) {
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 0);
        INT_PTR handled = state->proc(dialog, message, wParam, lParam);
        if (handled) {
            switch (message) {
                case WM_INITDIALOG:
                case WM_CTLCOLORMSGBOX:
                case WM_CTLCOLOREDIT:
                case WM_CTLCOLORLISTBOX:
                case WM_CTLCOLORBTN:
                case WM_CTLCOLORDLG:
                case WM_CTLCOLORSCROLLBAR:
                case WM_CTLCOLORSTATIC:
                case WM_QUERYDRAGICON: return handled;
                default: return IsWindow(dialog) ? GetWindowLongPtrA(dialog, DWLP_MSGRESULT) : 0;
            }
        }
    }
    switch (message) {
        case WM_INITDIALOG: return TRUE;  // no procedure: focus the first tab stop
        case WM_CLOSE: Click(dialog, IDCANCEL); return 0;
        case DM_GETDEFID: return state ? MAKELRESULT(state->defId, DC_HASDEFID) : 0;
        case DM_SETDEFID: {
            if (!state) return FALSE;
            const int oldId = state->defId;
            state->defId = int(wParam);
            // Moves the default-button look along with the default id.
            HWND old = GetDlgItem(dialog, oldId);
            if (old && oldId != int(wParam) &&
                (SendMessageA(old, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON))
                SendMessageA(old, 0x00F4 /* BM_SETSTYLE */, 0 /* BS_PUSHBUTTON */, TRUE);
            HWND now = GetDlgItem(dialog, int(wParam));
            if (now && (SendMessageA(now, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON))
                SendMessageA(now, 0x00F4 /* BM_SETSTYLE */, 1 /* BS_DEFPUSHBUTTON */, TRUE);
            return TRUE;
        }
        case WM_SETFONT:
            if (state) {
                if (state->ownsFont && state->font && HFONT(wParam) != state->font)
                    DeleteObject(state->font);
                state->font = reinterpret_cast<HFONT>(wParam);
                state->ownsFont = false;
            }
            return 0;
        case WM_GETFONT: return state ? reinterpret_cast<LRESULT>(state->font) : 0;
        case WM_SETFOCUS: {
            HWND target = state && state->lastFocus && IsChild(dialog, state->lastFocus)
                              ? state->lastFocus
                              : FirstTabStop(dialog);
            if (target && target != dialog) SetFocus(target);
            return 0;
        }
        case WM_ACTIVATE:
            if (state && LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && IsChild(dialog, focus)) state->lastFocus = focus;
            }
            break;
        case WM_NCDESTROY: {
            std::shared_ptr<DialogState> gone;
            {
                std::lock_guard<std::mutex> hold(StatesLock());
                auto it = States().find(dialog);
                if (it != States().end()) {
                    gone = it->second;
                    States().erase(it);
                }
            }
            if (gone && gone->ownsFont && gone->font) DeleteObject(gone->font);
            if (gone) gone->ended = true;
            break;
        }
        default: break;
    }
    return DefWindowProcA(dialog, message, wParam, lParam);
}

BOOL WINAPI IsDialogMessageA(HWND dialog, LPMSG msg) {
    if (!dialog || !msg || !IsWindow(dialog) || !msg->hwnd || !Belongs(dialog, msg->hwnd))
        return FALSE;
    if (msg->message == WM_KEYDOWN || msg->message == WM_CHAR) {
        const LRESULT code =
            SendMessageA(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg));
        const UINT key = UINT(msg->wParam);
        const bool wantsAll = (code & DLGC_WANTMESSAGE) != 0;
        if (msg->message == WM_KEYDOWN && !wantsAll) {
            switch (key) {
                case VK_TAB:
                    if (code & DLGC_WANTTAB) break;
                    if (HWND next =
                            GetNextDlgTabItem(dialog, GetFocus(), GetKeyState(VK_SHIFT) < 0))
                        SetFocus(next);
                    return TRUE;
                case VK_ESCAPE: Click(dialog, IDCANCEL); return TRUE;
                case VK_RETURN: {
                    HWND focus = GetFocus();
                    if (focus && IsChild(dialog, focus) &&
                        (SendMessageA(focus, WM_GETDLGCODE, 0, 0) &
                         (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON))) {
                        Click(dialog, GetDlgCtrlID(focus));
                        return TRUE;
                    }
                    LRESULT def = SendMessageA(dialog, DM_GETDEFID, 0, 0);
                    Click(dialog, HIWORD(def) == DC_HASDEFID ? int(LOWORD(def)) : IDOK);
                    return TRUE;
                }
                case VK_LEFT:
                case VK_UP:
                case VK_RIGHT:
                case VK_DOWN:
                    if (code & DLGC_WANTARROWS) break;
                    if (HWND next = GetNextDlgGroupItem(dialog, GetFocus(),
                                                        key == VK_LEFT || key == VK_UP)) {
                        SetFocus(next);
                        return TRUE;
                    }
                    break;
                default: break;
            }
        }
        // Characters of the keys handled above are swallowed, not beeped.
        if (msg->message == WM_CHAR && !wantsAll && (key == '\r' || key == 0x1B)) return TRUE;
        if (msg->message == WM_CHAR && !wantsAll && key == '\t' && !(code & DLGC_WANTTAB))
            return TRUE;
    }
    TranslateMessage(msg);
    DispatchMessageA(msg);
    return TRUE;
}

HWND WINAPI GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous) {
    if (!IsWindow(dialog) || !control || !IsChild(dialog, control)) return nullptr;
    // A group runs from a WS_GROUP control up to the next one.
    auto usable = [](HWND h) { return IsWindowVisible(h) && IsWindowEnabled(h); };
    auto starts = [](HWND h) { return (GetWindowLongA(h, GWL_STYLE) & WS_GROUP) != 0; };
    HWND first = control;
    while (!starts(first)) {
        HWND prev = GetWindow(first, GW_HWNDPREV);
        if (!prev) break;
        first = prev;
    }
    std::vector<HWND> group;
    for (HWND h = first; h; h = GetWindow(h, GW_HWNDNEXT)) {
        if (h != first && starts(h)) break;
        group.push_back(h);
    }
    size_t n = group.size(), at = 0;
    while (at < n && group[at] != control) ++at;
    if (at == n) return control;
    for (size_t step = 1; step < n; ++step) {
        HWND h = group[previous ? (at + n - step) % n : (at + step) % n];
        if (usable(h)) return h;
    }
    return control;
}

LRESULT WINAPI SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam,
                                   LPARAM lParam) {
    HWND control = GetDlgItem(dialog, id);
    return control ? SendMessageA(control, message, wParam, lParam) : 0;
}

BOOL WINAPI SetDlgItemTextA(HWND dialog, int id, LPCSTR text) {
    HWND control = GetDlgItem(dialog, id);
    return control ? SetWindowTextA(control, text) : FALSE;
}

UINT WINAPI GetDlgItemTextA(HWND dialog, int id, LPSTR text, int size) {
    if (text && size > 0) text[0] = '\0';
    HWND control = GetDlgItem(dialog, id);
    return control ? UINT(GetWindowTextA(control, text, size)) : 0;
}

BOOL WINAPI SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned) {
    char text[16];
    if (isSigned)
        std::snprintf(text, sizeof text, "%d", int(value));
    else
        std::snprintf(text, sizeof text, "%u", value);
    return SetDlgItemTextA(dialog, id, text);
}

UINT WINAPI GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned) {
    if (translated) *translated = FALSE;
    char text[32];
    if (!GetDlgItemTextA(dialog, id, text, sizeof text)) return 0;
    char* end = nullptr;
    const char* start = text;
    while (*start == ' ') ++start;
    errno = 0;
    const long long value = std::strtoll(start, &end, 10);
    while (end && *end == ' ') ++end;
    if (end == start || (end && *end) || errno == ERANGE) return 0;
    if (isSigned ? (value < INT32_MIN || value > INT32_MAX) : (value < 0 || value > UINT32_MAX))
        return 0;
    if (translated) *translated = TRUE;
    return UINT(value);
}

BOOL WINAPI MapDialogRect(HWND dialog, LPRECT rect) {
    if (!rect || !StateOf(dialog)) return FALSE;
    rect->left = ToPixelsX(rect->left);
    rect->right = ToPixelsX(rect->right);
    rect->top = ToPixelsY(rect->top);
    rect->bottom = ToPixelsY(rect->bottom);
    return TRUE;
}

LONG WINAPI GetDialogBaseUnits() { return MAKELONG(kBaseX, kBaseY); }
