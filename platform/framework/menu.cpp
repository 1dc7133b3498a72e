// CMenu: a menu handle and the menu functions on it.
#include <afxwin.h>

#include <vector>

#include "temporary_map.h"

CMenu* CMenu::FromHandle(HMENU hMenu) {
    thread_local afx::TemporaryMap<HMENU, CMenu> temps([](HMENU h) { return ::IsMenu(h) != FALSE; },
                                                       64);
    return temps.Get<CMenu>(hMenu, [](CMenu& wrapper, HMENU h) {
        wrapper.m_hMenu = h;
        wrapper.m_bTemporary = true;
    });
}

CMenu::~CMenu() {
    if (!m_bTemporary) DestroyMenu();
}

HMENU CMenu::GetSafeHmenu() const {
    const CMenu* self = this;
    asm("" : "+r"(self));  // callers may ask a null object
    return self ? self->m_hMenu : nullptr;
}

BOOL CMenu::Attach(HMENU hMenu) {
    if (!hMenu || m_hMenu) return FALSE;
    m_hMenu = hMenu;
    return TRUE;
}

HMENU CMenu::Detach() {
    HMENU hMenu = m_hMenu;
    m_hMenu = nullptr;
    return hMenu;
}

BOOL CMenu::CreateMenu() { return Attach(::CreateMenu()); }
BOOL CMenu::CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
BOOL CMenu::DestroyMenu() {
    if (!m_hMenu) return FALSE;
    return ::DestroyMenu(Detach());
}
BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}
BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    return ::InsertMenuA(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}
BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags) {
    return ::DeleteMenu(m_hMenu, nPosition, nFlags);
}
BOOL CMenu::RemoveMenu(UINT nPosition, UINT nFlags) {
    return ::RemoveMenu(m_hMenu, nPosition, nFlags);
}
UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
    return UINT(::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable));
}
UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck) {
    return UINT(::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck));
}
UINT CMenu::GetMenuItemCount() const { return UINT(::GetMenuItemCount(m_hMenu)); }
UINT CMenu::GetMenuItemID(int nPos) const { return UINT(::GetMenuItemID(m_hMenu, nPos)); }
UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const {
    return UINT(::GetMenuState(m_hMenu, nID, nFlags));
}
int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
    const int length = ::GetMenuStringA(m_hMenu, nIDItem, nullptr, 0, nFlags);
    std::vector<char> text(size_t(length > 0 ? length : 0) + 1, '\0');
    const int copied = ::GetMenuStringA(m_hMenu, nIDItem, text.data(), int(text.size()), nFlags);
    rString = text.data();
    return copied;
}
CMenu* CMenu::GetSubMenu(int nPos) const { return FromHandle(::GetSubMenu(m_hMenu, nPos)); }
BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect) {
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, afx::HwndOf(pWnd), lpRect);
}
