// Wrappers of the standard controls: each call is the control's message.
#include <afxcmn.h>

#include <vector>

namespace {

CString TextOf(const CWnd* wnd, UINT lenMessage, UINT textMessage, int index) {
    const LRESULT length = ::SendMessageA(wnd->m_hWnd, lenMessage, WPARAM(index), 0);
    if (length < 0) return CString();
    std::vector<char> text(size_t(length) + 1, '\0');
    ::SendMessageA(wnd->m_hWnd, textMessage, WPARAM(index), reinterpret_cast<LPARAM>(text.data()));
    text.back() = '\0';
    return CString(text.data());
}

}  // namespace

// ---------------------------------------------------------------------------
// Buttons

BOOL CButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                     UINT nID) {
    return CWnd::Create("BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
}
UINT CButton::GetState() const { return UINT(SendMessage(BM_GETSTATE)); }
void CButton::SetState(BOOL bHighlight) { SendMessage(BM_SETSTATE, bHighlight); }
int CButton::GetCheck() const { return int(SendMessage(BM_GETCHECK)); }
void CButton::SetCheck(int nCheck) { SendMessage(BM_SETCHECK, WPARAM(nCheck)); }
UINT CButton::GetButtonStyle() const { return UINT(GetStyle() & 0xFF); }
void CButton::SetButtonStyle(UINT nStyle, BOOL bRedraw) {
    SendMessage(BM_SETSTYLE, nStyle, bRedraw);
}

void CButton::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    if (pResult) *pResult = TRUE;
    return TRUE;
}

// ---------------------------------------------------------------------------
// Statics and edits

BOOL CStatic::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                     UINT nID) {
    return CWnd::Create("STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
}
HICON CStatic::SetIcon(HICON hIcon) {
    return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(hIcon)));
}
HICON CStatic::GetIcon() const { return reinterpret_cast<HICON>(SendMessage(STM_GETICON)); }
HBITMAP CStatic::SetBitmap(HBITMAP hBitmap) {
    return reinterpret_cast<HBITMAP>(
        SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap)));
}
HBITMAP CStatic::GetBitmap() const {
    return reinterpret_cast<HBITMAP>(SendMessage(STM_GETIMAGE, IMAGE_BITMAP));
}

BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("EDIT", nullptr, dwStyle, rect, pParentWnd, nID);
}
void CEdit::LimitText(int nChars) { SendMessage(EM_LIMITTEXT, WPARAM(nChars)); }

// ---------------------------------------------------------------------------
// List boxes

BOOL CListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("LISTBOX", nullptr, dwStyle, rect, pParentWnd, nID);
}
int CListBox::AddString(LPCTSTR s) {
    return int(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s)));
}
int CListBox::InsertString(int nIndex, LPCTSTR s) {
    return int(SendMessage(LB_INSERTSTRING, WPARAM(nIndex), reinterpret_cast<LPARAM>(s)));
}
int CListBox::DeleteString(UINT nIndex) { return int(SendMessage(LB_DELETESTRING, nIndex)); }
void CListBox::ResetContent() { SendMessage(LB_RESETCONTENT); }
int CListBox::GetCount() const { return int(SendMessage(LB_GETCOUNT)); }
int CListBox::GetCurSel() const { return int(SendMessage(LB_GETCURSEL)); }
int CListBox::SetCurSel(int nSelect) { return int(SendMessage(LB_SETCURSEL, WPARAM(nSelect))); }
int CListBox::GetText(int nIndex, LPTSTR lpszBuffer) const {
    return int(SendMessage(LB_GETTEXT, WPARAM(nIndex), reinterpret_cast<LPARAM>(lpszBuffer)));
}
void CListBox::GetText(int nIndex, CString& rString) const {
    rString = TextOf(this, LB_GETTEXTLEN, LB_GETTEXT, nIndex);
}
int CListBox::GetTextLen(int nIndex) const {
    return int(SendMessage(LB_GETTEXTLEN, WPARAM(nIndex)));
}
DWORD_PTR CListBox::GetItemData(int nIndex) const {
    return DWORD_PTR(SendMessage(LB_GETITEMDATA, WPARAM(nIndex)));
}
int CListBox::SetItemData(int nIndex, DWORD_PTR dwItemData) {
    return int(SendMessage(LB_SETITEMDATA, WPARAM(nIndex), LPARAM(dwItemData)));
}
int CListBox::GetTopIndex() const { return int(SendMessage(LB_GETTOPINDEX)); }
int CListBox::SetTopIndex(int nIndex) { return int(SendMessage(LB_SETTOPINDEX, WPARAM(nIndex))); }
int CListBox::GetItemHeight(int nIndex) const {
    return int(SendMessage(LB_GETITEMHEIGHT, WPARAM(nIndex)));
}
int CListBox::SetItemHeight(int nIndex, UINT cy) {
    return int(SendMessage(LB_SETITEMHEIGHT, WPARAM(nIndex), LPARAM(cy)));
}
int CListBox::FindString(int nStartAfter, LPCTSTR s) const {
    return int(SendMessage(LB_FINDSTRING, WPARAM(nStartAfter), reinterpret_cast<LPARAM>(s)));
}
int CListBox::FindStringExact(int nIndexStart, LPCTSTR s) const {
    return int(SendMessage(LB_FINDSTRINGEXACT, WPARAM(nIndexStart), reinterpret_cast<LPARAM>(s)));
}
int CListBox::SelectString(int nStartAfter, LPCTSTR s) {
    return int(SendMessage(LB_SELECTSTRING, WPARAM(nStartAfter), reinterpret_cast<LPARAM>(s)));
}

// ---------------------------------------------------------------------------
// Combo boxes

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
    return CWnd::Create("COMBOBOX", nullptr, dwStyle, rect, pParentWnd, nID);
}
int CComboBox::AddString(LPCTSTR s) {
    return int(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s)));
}
int CComboBox::InsertString(int nIndex, LPCTSTR s) {
    return int(SendMessage(CB_INSERTSTRING, WPARAM(nIndex), reinterpret_cast<LPARAM>(s)));
}
int CComboBox::DeleteString(UINT nIndex) { return int(SendMessage(CB_DELETESTRING, nIndex)); }
void CComboBox::ResetContent() { SendMessage(CB_RESETCONTENT); }
int CComboBox::GetCount() const { return int(SendMessage(CB_GETCOUNT)); }
int CComboBox::GetCurSel() const { return int(SendMessage(CB_GETCURSEL)); }
int CComboBox::SetCurSel(int nSelect) { return int(SendMessage(CB_SETCURSEL, WPARAM(nSelect))); }
int CComboBox::GetLBText(int nIndex, LPTSTR lpszText) const {
    return int(SendMessage(CB_GETLBTEXT, WPARAM(nIndex), reinterpret_cast<LPARAM>(lpszText)));
}
void CComboBox::GetLBText(int nIndex, CString& rString) const {
    rString = TextOf(this, CB_GETLBTEXTLEN, CB_GETLBTEXT, nIndex);
}
int CComboBox::GetLBTextLen(int nIndex) const {
    return int(SendMessage(CB_GETLBTEXTLEN, WPARAM(nIndex)));
}
DWORD_PTR CComboBox::GetItemData(int nIndex) const {
    return DWORD_PTR(SendMessage(CB_GETITEMDATA, WPARAM(nIndex)));
}
int CComboBox::SetItemData(int nIndex, DWORD_PTR dwItemData) {
    return int(SendMessage(CB_SETITEMDATA, WPARAM(nIndex), LPARAM(dwItemData)));
}
int CComboBox::FindStringExact(int nIndexStart, LPCTSTR s) const {
    return int(SendMessage(CB_FINDSTRINGEXACT, WPARAM(nIndexStart), reinterpret_cast<LPARAM>(s)));
}
int CComboBox::SelectString(int nStartAfter, LPCTSTR s) {
    return int(SendMessage(CB_SELECTSTRING, WPARAM(nStartAfter), reinterpret_cast<LPARAM>(s)));
}
void CComboBox::ShowDropDown(BOOL bShowIt) { SendMessage(CB_SHOWDROPDOWN, bShowIt); }
BOOL CComboBox::GetDroppedState() const { return BOOL(SendMessage(CB_GETDROPPEDSTATE)); }
int CComboBox::GetItemHeight(int nIndex) const {
    return int(SendMessage(CB_GETITEMHEIGHT, WPARAM(nIndex)));
}
int CComboBox::SetItemHeight(int nIndex, UINT cy) {
    return int(SendMessage(CB_SETITEMHEIGHT, WPARAM(nIndex), LPARAM(cy)));
}

// ---------------------------------------------------------------------------
// Tool-tips

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle) {
    return CWnd::CreateEx(0, TOOLTIPS_CLASS, nullptr, WS_POPUP | dwStyle, 0, 0, 0, 0,
                          afx::HwndOf(pParentWnd), nullptr);
}

namespace {

TOOLINFO ToolOf(CWnd* pWnd, UINT_PTR nIDTool) {
    TOOLINFO ti{};
    ti.cbSize = sizeof(ti);
    ti.hwnd = afx::HwndOf(pWnd);
    if (nIDTool == 0) {
        // The window itself is the tool.
        ti.uFlags = TTF_IDISHWND;
        ti.uId = reinterpret_cast<UINT_PTR>(ti.hwnd);
        HWND parent = ::GetParent(ti.hwnd);
        if (parent) ti.hwnd = parent;
    } else {
        ti.uId = nIDTool;
    }
    return ti;
}

}  // namespace

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
    if (!pWnd || !pWnd->m_hWnd) return FALSE;
    TOOLINFO ti = ToolOf(pWnd, nIDTool);
    if (lpRectTool) ti.rect = *lpRectTool;
    ti.lpszText = const_cast<LPSTR>(lpszText);
    return BOOL(SendMessage(TTM_ADDTOOL, 0, reinterpret_cast<LPARAM>(&ti)));
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
    char text[256] = {};
    ::LoadStringA(AfxGetResourceHandle(), nIDText, text, sizeof text);
    return AddTool(pWnd, text, lpRectTool, nIDTool);
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool) {
    TOOLINFO ti = ToolOf(pWnd, nIDTool);
    SendMessage(TTM_DELTOOL, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool) {
    TOOLINFO ti = ToolOf(pWnd, nIDTool);
    ti.lpszText = const_cast<LPSTR>(lpszText);
    SendMessage(TTM_UPDATETIPTEXT, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::RelayEvent(LPMSG lpMsg) {
    SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(lpMsg));
}
void CToolTipCtrl::Activate(BOOL bActivate) { SendMessage(TTM_ACTIVATE, bActivate); }
int CToolTipCtrl::GetToolCount() const { return int(SendMessage(TTM_GETTOOLCOUNT)); }
void CToolTipCtrl::SetDelayTime(UINT nDelay) { SendMessage(TTM_SETDELAYTIME, 0, LPARAM(nDelay)); }
int CToolTipCtrl::SetMaxTipWidth(int iWidth) {
    return int(SendMessage(TTM_SETMAXTIPWIDTH, 0, iWidth));
}
