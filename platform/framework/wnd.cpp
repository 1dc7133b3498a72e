// CWnd's binding to windows and its message routing: maps, reflection and
// default processing.
#include <afxwin.h>

#include "framework_state.h"

namespace afx {

ThreadState& State() {
    thread_local ThreadState state;
    return state;
}

namespace {

// Subclasses the window on its creation notice, before WM_NCCREATE.
LRESULT CALLBACK CreateHookProc(int code, WPARAM wParam, LPARAM lParam) {
    ThreadState& state = State();
    if (code == HCBT_CREATEWND && state.pendingCreate) {
        CWnd* wnd = state.pendingCreate;
        state.pendingCreate = nullptr;
        wnd->SubclassWindow(reinterpret_cast<HWND>(wParam));
    }
    return CallNextHookEx(state.createHook, code, wParam, lParam);
}

}  // namespace

void HookCreate(CWnd* wnd) {
    ThreadState& state = State();
    if (!state.createHook)
        state.createHook = SetWindowsHookExA(WH_CBT, CreateHookProc, nullptr, GetCurrentThreadId());
    state.pendingCreate = wnd;
}

void UnhookCreate() {
    ThreadState& state = State();
    state.pendingCreate = nullptr;
    if (state.createHook) {
        UnhookWindowsHookEx(state.createHook);
        state.createHook = nullptr;
    }
}

}  // namespace afx

using afx::State;

// ---------------------------------------------------------------------------
// Handles and objects

HWND CWnd::GetSafeHwnd() const {
    const CWnd* self = this;
    asm("" : "+r"(self));  // callers may ask a null object
    return self ? self->m_hWnd : nullptr;
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    auto& map = State().permanent;
    auto it = map.find(hWnd);
    return it == map.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (!hWnd) return nullptr;
    if (CWnd* wnd = FromHandlePermanent(hWnd)) return wnd;
    if (!IsWindow(hWnd)) return nullptr;
    return State().temporary.Get<CWnd>(hWnd, [](CWnd& wrapper, HWND h) { wrapper.m_hWnd = h; });
}

BOOL CWnd::Attach(HWND hWndNew) {
    if (!hWndNew || m_hWnd || !IsWindow(hWndNew) || FromHandlePermanent(hWndNew)) return FALSE;
    m_hWnd = hWndNew;
    State().permanent[hWndNew] = this;
    State().temporary.Erase(hWndNew);
    return TRUE;
}

HWND CWnd::Detach() {
    HWND hWnd = m_hWnd;
    if (hWnd) {
        auto& map = State().permanent;
        auto it = map.find(hWnd);
        if (it != map.end() && it->second == this) map.erase(it);
    }
    m_hWnd = nullptr;
    m_bOwnsWindow = false;
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!Attach(hWnd)) return FALSE;
    PreSubclassWindow();
    auto previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    if (previous != &AfxWndProc) m_pfnSuper = previous;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    HWND control = pParent ? ::GetDlgItem(pParent->m_hWnd, int(nID)) : nullptr;
    return control ? SubclassWindow(control) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
    if (!m_hWnd) return nullptr;
    if (m_pfnSuper) SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

void CWnd::PreSubclassWindow() {}
void CWnd::PostNcDestroy() {}

CWnd::~CWnd() {
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        if (m_bOwnsWindow) {
            ::DestroyWindow(m_hWnd);
        } else {
            UnsubclassWindow();
        }
    }
    if (m_hWnd) Detach();
}

// ---------------------------------------------------------------------------
// Creation

BOOL CWnd::PreCreateWindow(CREATESTRUCT&) { return TRUE; }

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                    int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                    LPVOID lpParam) {
    if (m_hWnd) return FALSE;
    CREATESTRUCT cs{
        lpParam, AfxGetInstanceHandle(), nIDorHMenu,     hWndParent,    nHeight,  nWidth, y,
        x,       LONG(dwStyle),          lpszWindowName, lpszClassName, dwExStyle};
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    afx::HookCreate(this);
    HWND hWnd =
        ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, DWORD(cs.style), cs.x, cs.y,
                          cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    afx::UnhookCreate();
    if (!hWnd) {
        if (m_hWnd) Detach();
        return FALSE;
    }
    m_bOwnsWindow = true;
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
    const bool child = (dwStyle & WS_CHILD) != 0;
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, afx::HwndOf(pParentWnd),
                    child ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)) : nullptr, lpParam);
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, void*) {
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd) return FALSE;
    return ::DestroyWindow(m_hWnd);
}

// ---------------------------------------------------------------------------
// The window procedure

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
    if (!wnd) return ::DefWindowProcA(hWnd, message, wParam, lParam);
    afx::ThreadState& state = State();
    const MSG saved = state.lastMessage;
    state.lastMessage = MSG{hWnd, message, wParam, lParam, 0, {}};
    LRESULT result = wnd->WindowProc(message, wParam, lParam);
    state.lastMessage = saved;
    if (message == WM_NCDESTROY && CWnd::FromHandlePermanent(hWnd) == wnd) {
        // The window is gone: the object lets go of it and may delete itself.
        wnd->m_pfnSuper = nullptr;
        wnd->Detach();
        wnd->PostNcDestroy();
    }
    return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper) return CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    const MSG& msg = State().lastMessage;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

const MSG* CWnd::GetCurrentMessage() { return &State().lastMessage; }

namespace {

bool IsCtlColor(UINT message) {
    return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

}  // namespace

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT ignored = 0;
    if (!pResult) pResult = &ignored;
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam)) return FALSE;
        *pResult = 1;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        return header && header->hwndFrom && OnNotify(wParam, lParam, pResult);
    }
    const UINT mapped = IsCtlColor(message) ? WM_CTLCOLOR : message;
    const AFX_MSGMAP_ENTRY* entry = FindEntry(mapped, 0, 0);
    if (!entry) return FALSE;
    return DispatchEntry(entry, message, wParam, lParam, pResult);
}

bool CWnd::DispatchEntry(const AFX_MSGMAP_ENTRY* entry, UINT message, WPARAM wParam, LPARAM lParam,
                         LRESULT* pResult) {
    const AFX_PMSG pfn = entry->pfn;
    const CPoint point(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    LRESULT r = 0;
    switch (entry->nSig) {
        case AfxSig_vv: (this->*AfxPmsgCast<void (CWnd::*)()>(pfn))(); break;
        case AfxSig_bv: r = (this->*AfxPmsgCast<BOOL (CWnd::*)()>(pfn))(); break;
        case AfxSig_bD:
            r = (this->*AfxPmsgCast<BOOL (CWnd::*)(CDC*)>(pfn))(
                CDC::FromHandle(reinterpret_cast<HDC>(wParam)));
            break;
        case AfxSig_hcv:
            r = reinterpret_cast<LRESULT>((this->*AfxPmsgCast<HCURSOR (CWnd::*)()>(pfn))());
            break;
        case AfxSig_vwp:
            (this->*AfxPmsgCast<void (CWnd::*)(UINT, CPoint)>(pfn))(UINT(wParam), point);
            break;
        case AfxSig_bwsp: {
            // The wheel's point is in screen coordinates, as the message gives it.
            r = (this->*AfxPmsgCast<BOOL (CWnd::*)(UINT, short, CPoint)>(pfn))(
                LOWORD(wParam), static_cast<short>(HIWORD(wParam)), point);
            break;
        }
        case AfxSig_vwl:
            (this->*AfxPmsgCast<void (CWnd::*)(UINT, LPARAM)>(pfn))(UINT(wParam), lParam);
            break;
        case AfxSig_hDWw: {
            const UINT type =
                IsCtlColor(message) ? message - WM_CTLCOLORMSGBOX : UINT(CTLCOLOR_MSGBOX);
            r = reinterpret_cast<LRESULT>(
                (this->*AfxPmsgCast<HBRUSH (CWnd::*)(CDC*, CWnd*, UINT)>(pfn))(
                    CDC::FromHandle(reinterpret_cast<HDC>(wParam)),
                    CWnd::FromHandle(reinterpret_cast<HWND>(lParam)), type));
            break;
        }
        case AfxSig_hDw: {
            const UINT reflected = message - WM_REFLECT_BASE;
            const UINT type =
                IsCtlColor(reflected) ? reflected - WM_CTLCOLORMSGBOX : UINT(CTLCOLOR_MSGBOX);
            r = reinterpret_cast<LRESULT>((this->*AfxPmsgCast<HBRUSH (CWnd::*)(CDC*, UINT)>(pfn))(
                CDC::FromHandle(reinterpret_cast<HDC>(wParam)), type));
            break;
        }
        case AfxSig_vOWNER:
            (this->*AfxPmsgCast<void (CWnd::*)(int, LPDRAWITEMSTRUCT)>(pfn))(
                int(wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
            r = TRUE;
            break;
        case AfxSig_wv: r = (this->*AfxPmsgCast<UINT (CWnd::*)()>(pfn))(); break;
        case AfxSig_lwl:
            r = (this->*AfxPmsgCast<LRESULT (CWnd::*)(WPARAM, LPARAM)>(pfn))(wParam, lParam);
            break;
        case AfxSig_vt:
            (this->*AfxPmsgCast<void (CWnd::*)(UINT_PTR)>(pfn))(UINT_PTR(wParam));
            break;
        case AfxSig_vwii:
            (this->*AfxPmsgCast<void (CWnd::*)(UINT, int, int)>(pfn))(
                UINT(wParam), static_cast<short>(LOWORD(lParam)),
                static_cast<short>(HIWORD(lParam)));
            break;
        case AfxSig_vwww:
            (this->*AfxPmsgCast<void (CWnd::*)(UINT, UINT, UINT)>(pfn))(
                UINT(wParam), LOWORD(lParam), HIWORD(lParam));
            break;
        case AfxSig_vb: (this->*AfxPmsgCast<void (CWnd::*)(BOOL)>(pfn))(BOOL(wParam)); break;
        case AfxSig_vW: {
            // WM_CAPTURECHANGED names the new window in lParam, the focus
            // messages the other window in wParam.
            HWND other =
                reinterpret_cast<HWND>(message == WM_CAPTURECHANGED ? lParam : LPARAM(wParam));
            (this->*AfxPmsgCast<void (CWnd::*)(CWnd*)>(pfn))(CWnd::FromHandle(other));
            break;
        }
        case AfxSig_vwWb:
            (this->*AfxPmsgCast<void (CWnd::*)(UINT, CWnd*, BOOL)>(pfn))(
                LOWORD(wParam), CWnd::FromHandle(reinterpret_cast<HWND>(lParam)),
                HIWORD(wParam) != 0);
            break;
        case AfxSig_bWww:
            r = (this->*AfxPmsgCast<BOOL (CWnd::*)(CWnd*, UINT, UINT)>(pfn))(
                CWnd::FromHandle(reinterpret_cast<HWND>(wParam)), LOWORD(lParam), HIWORD(lParam));
            break;
        case AfxSig_vwwS:
            (this->*AfxPmsgCast<void (CWnd::*)(UINT, UINT, CScrollBar*)>(pfn))(
                LOWORD(wParam), HIWORD(wParam),
                static_cast<CScrollBar*>(CWnd::FromHandle(reinterpret_cast<HWND>(lParam))));
            break;
        case AfxSig_is:
            r = (this->*AfxPmsgCast<int (CWnd::*)(LPCREATESTRUCT)>(pfn))(
                reinterpret_cast<LPCREATESTRUCT>(lParam));
            break;
        case AfxSig_vbw:
            (this->*AfxPmsgCast<void (CWnd::*)(BOOL, UINT)>(pfn))(BOOL(wParam), UINT(lParam));
            break;
        case AfxSig_vWp:
            (this->*AfxPmsgCast<void (CWnd::*)(CWnd*, CPoint)>(pfn))(
                CWnd::FromHandle(reinterpret_cast<HWND>(wParam)), point);
            break;
        default: return false;
    }
    *pResult = r;
    return true;
}

// ---------------------------------------------------------------------------
// Commands, notifications and reflection

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT nID = LOWORD(wParam);
    const int nCode = HIWORD(wParam);
    HWND control = reinterpret_cast<HWND>(lParam);
    if (control && ReflectLastMsg(control)) return TRUE;  // the control took it
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (ReflectLastMsg(header->hwndFrom, pResult)) return TRUE;
    const AFX_MSGMAP_ENTRY* entry = FindEntry(WM_NOTIFY, header->code, UINT(header->idFrom));
    if (!entry || entry->nSig != AfxSig_vNMHDRpl) return FALSE;
    LRESULT ignored = 0;
    (this->*AfxPmsgCast<void (CWnd::*)(NMHDR*, LRESULT*)>(entry->pfn))(
        header, pResult ? pResult : &ignored);
    return TRUE;
}

BOOL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult) {
    CWnd* child = FromHandlePermanent(hWndChild);
    if (!child) return FALSE;
    const MSG& msg = State().lastMessage;
    return child->OnChildNotify(msg.message, msg.wParam, msg.lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    LRESULT ignored = 0;
    if (!pResult) pResult = &ignored;
    switch (message) {
        case WM_COMMAND: {
            const AFX_MSGMAP_ENTRY* entry =
                FindEntry(WM_REFLECT_BASE + WM_COMMAND, HIWORD(wParam), 0);
            if (!entry) return FALSE;
            if (entry->nSig == AfxSig_bv)
                return (this->*AfxPmsgCast<BOOL (CWnd::*)()>(entry->pfn))();
            (this->*AfxPmsgCast<void (CWnd::*)()>(entry->pfn))();
            return TRUE;
        }
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            const AFX_MSGMAP_ENTRY* entry = FindEntry(WM_REFLECT_BASE + WM_NOTIFY, header->code, 0);
            if (!entry) return FALSE;
            if (entry->nSig == AfxSig_bNMHDRpl)
                return (this->*AfxPmsgCast<BOOL (CWnd::*)(NMHDR*, LRESULT*)>(entry->pfn))(header,
                                                                                          pResult);
            (this->*AfxPmsgCast<void (CWnd::*)(NMHDR*, LRESULT*)>(entry->pfn))(header, pResult);
            return TRUE;
        }
        default:
            if (IsCtlColor(message)) {
                const AFX_MSGMAP_ENTRY* entry = FindEntry(WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0);
                if (!entry) return FALSE;
                LRESULT brush = 0;
                DispatchEntry(entry, WM_REFLECT_BASE + message, wParam, lParam, &brush);
                if (!brush) return FALSE;  // no brush: the parent answers
                *pResult = brush;
                return TRUE;
            }
            // Any other reflected message (WM_DRAWITEM, scrolling…) goes to a
            // handler registered at the reflection offset.
            const AFX_MSGMAP_ENTRY* entry = FindEntry(WM_REFLECT_BASE + message, 0, 0);
            if (!entry) return FALSE;
            return DispatchEntry(entry, message, wParam, lParam, pResult);
    }
}

BOOL AfxPreTranslateMessage(MSG* pMsg) {
    for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
        CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
        if (wnd && wnd->PreTranslateMessage(pMsg)) return TRUE;
        if (!(GetWindowLongA(hWnd, GWL_STYLE) & WS_CHILD)) break;  // stop at the top-level window
    }
    return FALSE;
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

// CWnd's own map: the messages whose default processing reflects them to the
// control they concern.
BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
ON_WM_CTLCOLOR()
ON_WM_DRAWITEM()
ON_WM_HSCROLL()
ON_WM_VSCROLL()
END_MESSAGE_MAP()

HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT) {
    LRESULT result = 0;
    if (pWnd && ReflectLastMsg(pWnd->m_hWnd, &result)) return reinterpret_cast<HBRUSH>(result);
    return reinterpret_cast<HBRUSH>(Default());
}

void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct) {
    if (lpDrawItemStruct && ReflectLastMsg(lpDrawItemStruct->hwndItem)) return;
    Default();
}

void CWnd::OnHScroll(UINT, UINT, CScrollBar* pScrollBar) {
    if (pScrollBar && ReflectLastMsg(pScrollBar->m_hWnd)) return;
    Default();
}

void CWnd::OnVScroll(UINT, UINT, CScrollBar* pScrollBar) {
    if (pScrollBar && ReflectLastMsg(pScrollBar->m_hWnd)) return;
    Default();
}
