// The "EDIT" class, single line only: typing (WM_CHAR), Backspace, Delete,
// the arrows, Home and End, a caret drawn as a one-pixel bar, and the text
// scrolled sideways so that the caret stays in view. No selection.
#include <algorithm>

#include "controls/control_state.h"
#include "controls/control_text.h"
#include "controls/controls.h"

namespace win::controls {
namespace {

struct EditState {
    size_t caret = 0;
    int scroll = 0;  // pixels of text hidden on the left
    bool focused = false;
    HFONT font = nullptr;
    size_t limit = 32767;
};

StateTable<EditState>& Edits() {
    static auto* table = new StateTable<EditState>;
    return *table;
}

std::string Text(HWND hwnd) {
    int n = GetWindowTextLengthA(hwnd);
    std::string s(size_t(n) + 1, '\0');
    s.resize(size_t(GetWindowTextA(hwnd, s.data(), n + 1)));
    return s;
}

void Store(HWND hwnd, const std::string& text) {
    DefWindowProcA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    InvalidateRect(hwnd, nullptr, FALSE);
    NotifyParent(hwnd, EN_CHANGE);
}

void Paint(HWND hwnd, HDC dc, EditState* st) {
    RECT client;
    GetClientRect(hwnd, &client);
    HBRUSH brush = ControlColor(hwnd, dc, WM_CTLCOLOREDIT);
    FillRect(dc, &client, brush);
    HGDIOBJ old = SelectObject(dc, ControlFont(st->font));
    std::string text = Text(hwnd);
    st->caret = std::min(st->caret, text.size());
    int caretX = TextWidth(dc, text.substr(0, st->caret));
    int width = std::max<int>(1, client.right - 4);
    if (caretX - st->scroll > width) st->scroll = caretX - width;
    if (caretX < st->scroll) st->scroll = caretX;
    SetBkMode(dc, TRANSPARENT);
    if (!IsWindowEnabled(hwnd)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    RECT r{2 - st->scroll, 0, client.right, client.bottom};
    PaintText(dc, text, r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (st->focused) {
        int h = FontHeight(dc);
        int x = 2 + caretX - st->scroll;
        RECT bar{x, (client.bottom - h) / 2, x + 1, (client.bottom + h) / 2};
        FillSys(dc, bar, COLOR_WINDOWTEXT);
    }
    SelectObject(dc, old);
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) Edits().Create(hwnd);
    EditState* st = Edits().Find(hwnd);
    if (!st) return DefWindowProcA(hwnd, message, wParam, lParam);
    switch (message) {
        case WM_NCDESTROY: Edits().Erase(hwnd); break;
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            if (dc) Paint(hwnd, dc, st);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_GETDLGCODE: return DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
        case WM_SETFONT:
            st->font = reinterpret_cast<HFONT>(wParam);
            if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_GETFONT: return reinterpret_cast<LRESULT>(st->font);
        case WM_SETTEXT: {
            LRESULT r = DefWindowProcA(hwnd, message, wParam, lParam);
            st->caret = size_t(GetWindowTextLengthA(hwnd));
            InvalidateRect(hwnd, nullptr, FALSE);
            return r;
        }
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            st->focused = message == WM_SETFOCUS;
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_LBUTTONDOWN:
            SetFocus(hwnd);
            st->caret = size_t(GetWindowTextLengthA(hwnd));
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_CHAR: {
            unsigned char ch = static_cast<unsigned char>(wParam);
            std::string text = Text(hwnd);
            st->caret = std::min(st->caret, text.size());
            if (ch == VK_BACK) {
                if (st->caret == 0) return 0;
                text.erase(--st->caret, 1);
            } else if (ch >= 0x20 && ch != 0x7F) {
                if (text.size() >= st->limit) return 0;
                text.insert(st->caret++, 1, char(ch));
            } else {
                return 0;
            }
            Store(hwnd, text);
            return 0;
        }
        case WM_KEYDOWN: {
            std::string text = Text(hwnd);
            st->caret = std::min(st->caret, text.size());
            switch (wParam) {
                case VK_LEFT:
                    if (st->caret > 0) --st->caret;
                    break;
                case VK_RIGHT:
                    if (st->caret < text.size()) ++st->caret;
                    break;
                case VK_HOME: st->caret = 0; break;
                case VK_END: st->caret = text.size(); break;
                case VK_DELETE:
                    if (st->caret < text.size()) {
                        text.erase(st->caret, 1);
                        Store(hwnd, text);
                    }
                    break;
                default: return 0;
            }
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        }
        case EM_LIMITTEXT: st->limit = wParam ? size_t(wParam) : 32767; return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

WNDPROC EditWindowProc() { return EditProc; }

}  // namespace win::controls
