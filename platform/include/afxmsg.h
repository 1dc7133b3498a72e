// Message map macros (included by afxwin.h).
//
// A class declares DECLARE_MESSAGE_MAP() and defines its map between
// BEGIN_MESSAGE_MAP(theClass, baseClass) and END_MESSAGE_MAP(); a message
// not in a class's map is looked up in its base class's map, then gets the
// window's default processing.
#pragma once

#define DECLARE_MESSAGE_MAP()                     \
protected:                                        \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                        \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                 \
        typedef theClass ThisClass;                                                   \
        typedef baseClass TheBaseClass;                                               \
        (void)sizeof(ThisClass*);                                                     \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                                         \
    { 0, 0, 0, 0, AfxSig_end, nullptr }                                                           \
    }                                                                                             \
    ;                                                                                             \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
    return &messageMap;                                                                           \
    }

// A handler of the given CWnd signature, stored as the map's common type:
// by its standard name (the ON_WM_ entries) or as a member pointer
// (`&CMyDlg::OnSomething`, the other entries).
#define AFX_WND_PMSG(type, fn) AfxPmsgCast<AFX_PMSG>(static_cast<type>(&ThisClass::fn))
#define AFX_WND_PMSG_PTR(type, memberFxn) AfxPmsgCast<AFX_PMSG>(static_cast<type>(memberFxn))
#define AFX_MAP_MSG(msg, sig, type, fn) {msg, 0, 0, 0, sig, AFX_WND_PMSG(type, fn)},

// Window messages.
#define ON_WM_CREATE() AFX_MAP_MSG(WM_CREATE, AfxSig_is, int (CWnd::*)(LPCREATESTRUCT), OnCreate)
#define ON_WM_DESTROY() AFX_MAP_MSG(WM_DESTROY, AfxSig_vv, void (CWnd::*)(), OnDestroy)
#define ON_WM_NCDESTROY() AFX_MAP_MSG(WM_NCDESTROY, AfxSig_vv, void (CWnd::*)(), OnNcDestroy)
#define ON_WM_CLOSE() AFX_MAP_MSG(WM_CLOSE, AfxSig_vv, void (CWnd::*)(), OnClose)
#define ON_WM_PAINT() AFX_MAP_MSG(WM_PAINT, AfxSig_vv, void (CWnd::*)(), OnPaint)
#define ON_WM_ERASEBKGND() AFX_MAP_MSG(WM_ERASEBKGND, AfxSig_bD, BOOL (CWnd::*)(CDC*), OnEraseBkgnd)
#define ON_WM_SIZE() AFX_MAP_MSG(WM_SIZE, AfxSig_vwii, void (CWnd::*)(UINT, int, int), OnSize)
#define ON_WM_SHOWWINDOW() \
    AFX_MAP_MSG(WM_SHOWWINDOW, AfxSig_vbw, void (CWnd::*)(BOOL, UINT), OnShowWindow)
#define ON_WM_TIMER() AFX_MAP_MSG(WM_TIMER, AfxSig_vt, void (CWnd::*)(UINT_PTR), OnTimer)
#define ON_WM_LBUTTONDOWN() \
    AFX_MAP_MSG(WM_LBUTTONDOWN, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnLButtonDown)
#define ON_WM_LBUTTONUP() \
    AFX_MAP_MSG(WM_LBUTTONUP, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() \
    AFX_MAP_MSG(WM_LBUTTONDBLCLK, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() \
    AFX_MAP_MSG(WM_RBUTTONDOWN, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnRButtonDown)
#define ON_WM_RBUTTONUP() \
    AFX_MAP_MSG(WM_RBUTTONUP, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() \
    AFX_MAP_MSG(WM_RBUTTONDBLCLK, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() \
    AFX_MAP_MSG(WM_MBUTTONDOWN, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnMButtonDown)
#define ON_WM_MBUTTONUP() \
    AFX_MAP_MSG(WM_MBUTTONUP, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnMButtonUp)
#define ON_WM_MOUSEMOVE() \
    AFX_MAP_MSG(WM_MOUSEMOVE, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnMouseMove)
#define ON_WM_MOUSEWHEEL() \
    AFX_MAP_MSG(WM_MOUSEWHEEL, AfxSig_bwsp, BOOL (CWnd::*)(UINT, short, CPoint), OnMouseWheel)
#define ON_WM_MOUSELEAVE() AFX_MAP_MSG(WM_MOUSELEAVE, AfxSig_vv, void (CWnd::*)(), OnMouseLeave)
#define ON_WM_SETCURSOR() \
    AFX_MAP_MSG(WM_SETCURSOR, AfxSig_bWww, BOOL (CWnd::*)(CWnd*, UINT, UINT), OnSetCursor)
#define ON_WM_CAPTURECHANGED() \
    AFX_MAP_MSG(WM_CAPTURECHANGED, AfxSig_vW, void (CWnd::*)(CWnd*), OnCaptureChanged)
#define ON_WM_KEYDOWN() \
    AFX_MAP_MSG(WM_KEYDOWN, AfxSig_vwww, void (CWnd::*)(UINT, UINT, UINT), OnKeyDown)
#define ON_WM_KEYUP() AFX_MAP_MSG(WM_KEYUP, AfxSig_vwww, void (CWnd::*)(UINT, UINT, UINT), OnKeyUp)
#define ON_WM_CHAR() AFX_MAP_MSG(WM_CHAR, AfxSig_vwww, void (CWnd::*)(UINT, UINT, UINT), OnChar)
#define ON_WM_SYSKEYDOWN() \
    AFX_MAP_MSG(WM_SYSKEYDOWN, AfxSig_vwww, void (CWnd::*)(UINT, UINT, UINT), OnSysKeyDown)
#define ON_WM_SETFOCUS() AFX_MAP_MSG(WM_SETFOCUS, AfxSig_vW, void (CWnd::*)(CWnd*), OnSetFocus)
#define ON_WM_KILLFOCUS() AFX_MAP_MSG(WM_KILLFOCUS, AfxSig_vW, void (CWnd::*)(CWnd*), OnKillFocus)
#define ON_WM_ENABLE() AFX_MAP_MSG(WM_ENABLE, AfxSig_vb, void (CWnd::*)(BOOL), OnEnable)
#define ON_WM_ACTIVATE() \
    AFX_MAP_MSG(WM_ACTIVATE, AfxSig_vwWb, void (CWnd::*)(UINT, CWnd*, BOOL), OnActivate)
#define ON_WM_CANCELMODE() AFX_MAP_MSG(WM_CANCELMODE, AfxSig_vv, void (CWnd::*)(), OnCancelMode)
#define ON_WM_SYSCOLORCHANGE() \
    AFX_MAP_MSG(WM_SYSCOLORCHANGE, AfxSig_vv, void (CWnd::*)(), OnSysColorChange)
#define ON_WM_SYSCOMMAND() \
    AFX_MAP_MSG(WM_SYSCOMMAND, AfxSig_vwl, void (CWnd::*)(UINT, LPARAM), OnSysCommand)
#define ON_WM_QUERYDRAGICON() \
    AFX_MAP_MSG(WM_QUERYDRAGICON, AfxSig_hcv, HCURSOR (CWnd::*)(), OnQueryDragIcon)
#define ON_WM_GETDLGCODE() AFX_MAP_MSG(WM_GETDLGCODE, AfxSig_wv, UINT (CWnd::*)(), OnGetDlgCode)
#define ON_WM_CONTEXTMENU() \
    AFX_MAP_MSG(WM_CONTEXTMENU, AfxSig_vWp, void (CWnd::*)(CWnd*, CPoint), OnContextMenu)
#define ON_WM_HSCROLL() \
    AFX_MAP_MSG(WM_HSCROLL, AfxSig_vwwS, void (CWnd::*)(UINT, UINT, CScrollBar*), OnHScroll)
#define ON_WM_VSCROLL() \
    AFX_MAP_MSG(WM_VSCROLL, AfxSig_vwwS, void (CWnd::*)(UINT, UINT, CScrollBar*), OnVScroll)
#define ON_WM_CTLCOLOR() \
    AFX_MAP_MSG(WM_CTLCOLOR, AfxSig_hDWw, HBRUSH (CWnd::*)(CDC*, CWnd*, UINT), OnCtlColor)
#define ON_WM_DRAWITEM() \
    AFX_MAP_MSG(WM_DRAWITEM, AfxSig_vOWNER, void (CWnd::*)(int, LPDRAWITEMSTRUCT), OnDrawItem)

// Any message, handled as LRESULT (WPARAM, LPARAM).
#define ON_MESSAGE(message, memberFxn) \
    {message, 0, 0, 0, AfxSig_lwl, AFX_WND_PMSG_PTR(LRESULT(CWnd::*)(WPARAM, LPARAM), memberFxn)},

// Commands and control notifications (WM_COMMAND), handled by the parent.
#define ON_COMMAND(id, memberFxn) \
    {                             \
        WM_COMMAND, 0,            \
        UINT(id),   UINT(id),     \
        AfxSig_vv,  AfxPmsgCast<AFX_PMSG>(static_cast<void (CCmdTarget::*)()>(memberFxn))},
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
    {WM_COMMAND, 0,                             \
     UINT(id),   UINT(idLast),                  \
     AfxSig_vw,  AfxPmsgCast<AFX_PMSG>(static_cast<void (CCmdTarget::*)(UINT)>(memberFxn))},
#define ON_CONTROL(wNotifyCode, id, memberFxn) \
    {WM_COMMAND, UINT(wNotifyCode),            \
     UINT(id),   UINT(id),                     \
     AfxSig_vv,  AfxPmsgCast<AFX_PMSG>(static_cast<void (CCmdTarget::*)()>(memberFxn))},
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn) \
    {WM_COMMAND, UINT(wNotifyCode),                          \
     UINT(id),   UINT(idLast),                               \
     AfxSig_vw,  AfxPmsgCast<AFX_PMSG>(static_cast<void (CCmdTarget::*)(UINT)>(memberFxn))},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)

// WM_NOTIFY from a control, handled by the parent.
#define ON_NOTIFY(wNotifyCode, id, memberFxn) \
    {WM_NOTIFY, UINT(wNotifyCode), UINT(id),  \
     UINT(id),  AfxSig_vNMHDRpl,   AFX_WND_PMSG_PTR(void(CWnd::*)(NMHDR*, LRESULT*), memberFxn)},

// Notifications reflected back to the control that sent them. With the _EX
// forms the handler answers TRUE to keep the parent from seeing the
// notification, FALSE to let the parent's handler run too.
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn) \
    {WM_REFLECT_BASE + WM_COMMAND,                 \
     UINT(wNotifyCode),                            \
     0,                                            \
     0,                                            \
     AfxSig_vv,                                    \
     AFX_WND_PMSG_PTR(void(CWnd::*)(), memberFxn)},
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn) \
    {WM_REFLECT_BASE + WM_COMMAND,                    \
     UINT(wNotifyCode),                               \
     0,                                               \
     0,                                               \
     AfxSig_bv,                                       \
     AFX_WND_PMSG_PTR(BOOL(CWnd::*)(), memberFxn)},
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn) \
    {WM_REFLECT_BASE + WM_NOTIFY,                 \
     UINT(wNotifyCode),                           \
     0,                                           \
     0,                                           \
     AfxSig_vNMHDRpl,                             \
     AFX_WND_PMSG_PTR(void(CWnd::*)(NMHDR*, LRESULT*), memberFxn)},
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn) \
    {WM_REFLECT_BASE + WM_NOTIFY,                    \
     UINT(wNotifyCode),                              \
     0,                                              \
     0,                                              \
     AfxSig_bNMHDRpl,                                \
     AFX_WND_PMSG_PTR(BOOL(CWnd::*)(NMHDR*, LRESULT*), memberFxn)},
#define ON_WM_CTLCOLOR_REFLECT()    \
    {WM_REFLECT_BASE + WM_CTLCOLOR, \
     0,                             \
     0,                             \
     0,                             \
     AfxSig_hDw,                    \
     AFX_WND_PMSG(HBRUSH(CWnd::*)(CDC*, UINT), CtlColor)},
#define ON_BN_CLICKED_REFLECT(memberFxn) ON_CONTROL_REFLECT(BN_CLICKED, memberFxn)
