// MessageBoxA: a top-level window of its own class holding a text control,
// a drawn icon and the buttons of its type, run in a nested loop until a
// button answers. With an owner, the owner is disabled while the box is up;
// without one, the program's other windows stay usable.
#include <algorithm>
#include <mutex>
#include <string>

#include "controls/control_text.h"
#include "controls/controls.h"
#include "controls/message_box_layout.h"
#include "controls/message_font.h"

namespace win::controls {
namespace {

constexpr const char* kClass = "TintoMessageBox";
constexpr int kTextId = 0xFFFF;

struct BoxState {
    UINT type = 0;
    int result = 0;
    bool done = false;
    int escape = 0;
    RECT icon{};
};

BoxState* StateOf(HWND hwnd) {
    return reinterpret_cast<BoxState*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

void FillCircle(HDC dc, const RECT& r, COLORREF fill, COLORREF edge) {
    HBRUSH brush = CreateSolidBrush(fill);
    HPEN pen = CreatePen(PS_SOLID, 1, edge);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    Ellipse(dc, r.left, r.top, r.right, r.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

void Glyph(HDC dc, const RECT& r, const char* ch, COLORREF color) {
    HFONT font = CreateFontA(-22, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, "Sans");
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color);
    RECT box = r;
    PaintText(dc, ch, box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
    DeleteObject(font);
}

void PaintIcon(HDC dc, const RECT& r, UINT icon) {
    switch (icon) {
        case MB_ICONERROR: {
            FillCircle(dc, r, RGB(255, 0, 0), RGB(128, 0, 0));
            HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
            HGDIOBJ old = SelectObject(dc, pen);
            for (int d = -1; d <= 1; ++d) {
                MoveToEx(dc, r.left + 9 + d, r.top + 9, nullptr);
                LineTo(dc, r.right - 9 + d, r.bottom - 9);
                MoveToEx(dc, r.right - 10 + d, r.top + 9, nullptr);
                LineTo(dc, r.left + 8 + d, r.bottom - 9);
            }
            SelectObject(dc, old);
            DeleteObject(pen);
            break;
        }
        case MB_ICONWARNING: {
            // A yellow triangle, one row at a time, with a black rim.
            int cx = (r.left + r.right) / 2;
            int h = r.bottom - r.top;
            HPEN fill = CreatePen(PS_SOLID, 1, RGB(255, 255, 0));
            HPEN rim = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
            HGDIOBJ old = SelectObject(dc, fill);
            for (int y = 1; y < h; ++y) {
                int half = y / 2;
                MoveToEx(dc, cx - half, r.top + y, nullptr);
                LineTo(dc, cx + half + 1, r.top + y);
            }
            SelectObject(dc, rim);
            MoveToEx(dc, cx, r.top, nullptr);
            LineTo(dc, cx - h / 2, r.bottom - 1);
            LineTo(dc, cx + h / 2, r.bottom - 1);
            LineTo(dc, cx, r.top);
            SelectObject(dc, old);
            DeleteObject(fill);
            DeleteObject(rim);
            RECT mark{r.left, r.top + 8, r.right, r.bottom};
            Glyph(dc, mark, "!", RGB(0, 0, 0));
            break;
        }
        case MB_ICONINFORMATION:
            FillCircle(dc, r, RGB(255, 255, 255), RGB(0, 0, 255));
            Glyph(dc, r, "i", RGB(0, 0, 255));
            break;
        case MB_ICONQUESTION:
            FillCircle(dc, r, RGB(255, 255, 255), RGB(0, 0, 255));
            Glyph(dc, r, "?", RGB(0, 0, 255));
            break;
    }
}

LRESULT CALLBACK BoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    BoxState* st = StateOf(hwnd);
    if (st) {
        switch (message) {
            case WM_COMMAND:
                // A click on one of the box's buttons, or its command sent
                // by id alone (as accelerators and scripts do).
                if (HIWORD(wParam) == BN_CLICKED && GetDlgItem(hwnd, LOWORD(wParam))) {
                    st->result = LOWORD(wParam);
                    st->done = true;
                    PostMessageA(hwnd, WM_NULL, 0, 0);  // wakes the loop if it waits
                }
                return 0;
            case WM_CLOSE:
                if (st->escape) {
                    st->result = st->escape;
                    st->done = true;
                    PostMessageA(hwnd, WM_NULL, 0, 0);
                }
                return 0;
            case WM_PAINT: {
                PAINTSTRUCT ps;
                HDC dc = BeginPaint(hwnd, &ps);
                if (dc) PaintIcon(dc, st->icon, st->type & MB_ICONMASK);
                EndPaint(hwnd, &ps);
                return 0;
            }
        }
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void RegisterBoxClass() {
    static std::once_flag once;
    std::call_once(once, [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = BoxProc;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(INT_PTR(COLOR_BTNFACE + 1));
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = kClass;
        RegisterClassA(&wc);
    });
}

SIZE MeasureText(const std::string& text, HFONT font) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    RECT r{0, 0, kMessageBoxMaxTextWidth, 0};
    PaintText(dc, text, r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, old);
    DeleteDC(dc);
    return SIZE{std::min<LONG>(r.right - r.left, kMessageBoxMaxTextWidth), r.bottom - r.top};
}

int CaptionWidth(const std::string& caption) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    int w = TextWidth(dc, caption);
    SelectObject(dc, old);
    DeleteDC(dc);
    return w + 40;
}

// Enter, Escape, Tab and the arrows inside the box.
bool HandleKey(HWND box, BoxState* st, const MSG& msg, const std::vector<HWND>& buttons,
               HWND defaultButton) {
    if (msg.message != WM_KEYDOWN || (msg.hwnd != box && !IsChild(box, msg.hwnd))) return false;
    HWND focus = GetFocus();
    auto at = std::find(buttons.begin(), buttons.end(), focus);
    switch (msg.wParam) {
        case VK_RETURN:
            SendMessageA(at != buttons.end() ? *at : defaultButton, BM_CLICK, 0, 0);
            return true;
        case VK_ESCAPE:
            if (st->escape) {
                st->result = st->escape;
                st->done = true;
            }
            return true;
        case VK_TAB:
        case VK_LEFT:
        case VK_RIGHT:
        case VK_UP:
        case VK_DOWN: {
            bool back = msg.wParam == VK_LEFT || msg.wParam == VK_UP ||
                        (msg.wParam == VK_TAB && (GetKeyState(VK_SHIFT) & 0x8000));
            int n = int(buttons.size());
            int i = at == buttons.end() ? 0 : int(at - buttons.begin());
            SetFocus(buttons[size_t((i + (back ? n - 1 : 1)) % n)]);
            return true;
        }
    }
    return false;
}

}  // namespace

}  // namespace win::controls

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    using namespace win::controls;
    RegisterControlClasses();
    RegisterBoxClass();
    std::string body = text ? text : "";
    std::string title = caption ? caption : "Error";
    BoxState st;
    st.type = type;
    st.escape = MessageBoxEscape(type);
    auto buttons = MessageBoxButtons(type);
    bool hasIcon = (type & MB_ICONMASK) != 0;
    // The text and the buttons are drawn in the message font.
    HFONT font = CreateMessageFont();
    MessageBoxLayout layout = LayOutMessageBox(MeasureText(body, font), hasIcon,
                                               int(buttons.size()), CaptionWidth(title));
    st.icon = layout.icon;

    HWND root = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    RECT frame{0, 0, layout.client.cx, layout.client.cy};
    AdjustWindowRectEx(&frame, WS_POPUP | WS_BORDER, FALSE, WS_EX_DLGMODALFRAME);
    int width = frame.right - frame.left, height = frame.bottom - frame.top;
    RECT around{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (root) GetWindowRect(root, &around);
    int x = std::max<int>(0, (around.left + around.right - width) / 2);
    int y = std::max<int>(0, (around.top + around.bottom - height) / 2);
    DWORD exStyle =
        WS_EX_DLGMODALFRAME | ((type & (MB_TOPMOST | MB_SYSTEMMODAL)) ? WS_EX_TOPMOST : 0);
    HWND box = CreateWindowExA(exStyle, kClass, title.c_str(), WS_POPUP | WS_BORDER, x, y, width,
                               height, root, nullptr, nullptr, &st);
    if (!box) {
        DeleteObject(font);
        return 0;
    }
    const RECT& t = layout.text;
    HWND label =
        CreateWindowExA(0, "STATIC", body.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                        t.left, t.top, t.right - t.left, t.bottom - t.top, box,
                        reinterpret_cast<HMENU>(INT_PTR(kTextId)), nullptr, nullptr);
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    int defaultIndex = MessageBoxDefault(type, int(buttons.size()));
    std::vector<HWND> buttonWindows;
    for (size_t i = 0; i < buttons.size(); ++i) {
        const RECT& b = layout.buttons[i];
        DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                      (int(i) == defaultIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        HWND button = CreateWindowExA(
            0, "BUTTON", buttons[i].label, style, b.left, b.top, b.right - b.left, b.bottom - b.top,
            box, reinterpret_cast<HMENU>(INT_PTR(buttons[i].id)), nullptr, nullptr);
        SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        buttonWindows.push_back(button);
    }
    HWND defaultButton = buttonWindows[size_t(defaultIndex)];

    bool disabledOwner = root && IsWindowEnabled(root);
    if (disabledOwner) EnableWindow(root, FALSE);
    ShowWindow(box, SW_SHOW);
    SetActiveWindow(box);
    if (type & MB_SETFOREGROUND) SetForegroundWindow(box);
    SetFocus(defaultButton);

    MSG msg;
    while (!st.done && IsWindow(box)) {
        if (!GetMessageA(&msg, nullptr, 0, 0)) {
            PostQuitMessage(int(msg.wParam));  // the outer loop must see it too
            break;
        }
        if (HandleKey(box, &st, msg, buttonWindows, defaultButton)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (disabledOwner) EnableWindow(root, TRUE);
    if (IsWindow(box)) DestroyWindow(box);
    DeleteObject(font);
    if (root && IsWindow(root)) SetActiveWindow(root);
    return st.result;
}
