// CDialog: dialogs from templates, run modally in a loop of their own so
// that every window on the way can pre-translate its messages; data
// exchange binds controls to their objects.
#include <afxwin.h>

#include "core/dialog_create.h"
#include "framework_state.h"
#include "resources/dialog_template.h"

// The dialog procedure behind every framework dialog: the object's map has
// already had each message; only WM_INITDIALOG is answered here. A modal
// dialog that was created hidden, was not moved by OnInitDialog, and whose
// owner is disabled (or absent) is centred, when CheckAutoCenter agrees.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM) {
    if (message != WM_INITDIALOG) return FALSE;
    auto* dialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd));
    if (!dialog) return TRUE;
    RECT before{};
    ::GetWindowRect(hWnd, &before);
    const DWORD styleBefore = DWORD(::GetWindowLongA(hWnd, GWL_STYLE));
    const BOOL result = dialog->OnInitDialog();
    if (!::IsWindow(hWnd) || (styleBefore & WS_VISIBLE)) return result;
    if (DWORD(::GetWindowLongA(hWnd, GWL_STYLE)) & (WS_VISIBLE | WS_CHILD)) return result;
    RECT after{};
    ::GetWindowRect(hWnd, &after);
    if (after.left != before.left || after.top != before.top) return result;
    HWND owner = ::GetWindow(hWnd, GW_OWNER);
    if (owner && ::IsWindowEnabled(owner)) return result;
    if (dialog->CheckAutoCenter()) dialog->CenterWindow();
    return result;
}

CDialog::CDialog() = default;

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCE(nIDTemplate)),
      m_nIDHelp(nIDTemplate),
      m_pParentWnd(pParentWnd) {}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd) {}

// A template that places the dialog itself (centred by the dialog manager,
// at the mouse, at absolute or non-zero coordinates) is left where it is.
BOOL CDialog::CheckAutoCenter() {
    win::res::DialogTemplate t;
    if (!m_lpszTemplateName || !win::res::LoadDialogTemplate(m_lpszTemplateName, t)) return TRUE;
    return !(t.style & (DS_CENTER | DS_CENTERMOUSE | DS_ABSALIGN)) && t.x == 0 && t.y == 0;
}

INT_PTR CDialog::DoModal() {
    if (m_hWnd || !m_lpszTemplateName) return -1;
    // Owned by the parent's top-level window, or without a parent by the
    // innermost open dialog of the program; that owner is disabled before
    // the dialog is created, so that WM_INITDIALOG sees it disabled.
    HWND top = nullptr;
    HWND owner = CWnd::GetSafeOwner_(afx::HwndOf(m_pParentWnd), &top);
    const bool enableOwner = owner && ::IsWindowEnabled(owner);
    if (enableOwner) ::EnableWindow(owner, FALSE);
    auto restore = [&] {
        if (enableOwner) ::EnableWindow(owner, TRUE);
        if (top) ::EnableWindow(top, TRUE);
    };
    m_nModalResult = -1;
    m_bContinueModal = true;
    afx::HookCreate(this);
    HWND hWnd = win::core::CreateDialogFromResource(m_lpszTemplateName, owner, AfxDlgProc, 0);
    afx::UnhookCreate();
    if (!hWnd) {
        if (m_hWnd) Detach();
        m_bContinueModal = false;
        restore();
        if (owner && ::IsWindow(owner) && !::GetActiveWindow()) ::SetActiveWindow(owner);
        return -1;
    }

    if (m_bContinueModal) {
        ::ShowWindow(hWnd, SW_SHOWNORMAL);
        ::UpdateWindow(hWnd);
        ::SetActiveWindow(hWnd);
        HWND focus = ::GetFocus();
        if (!focus || (focus != hWnd && !::IsChild(hWnd, focus))) {
            HWND first = ::GetNextDlgTabItem(hWnd, nullptr, FALSE);
            ::SetFocus(first ? first : hWnd);
        }
    }
    MSG msg;
    while (m_bContinueModal && ::IsWindow(hWnd)) {
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            // WM_QUIT ends the dialog and goes on to the outer loop.
            if (got == 0) ::PostQuitMessage(int(msg.wParam));
            break;
        }
        if (!AfxPreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    if (enableOwner) ::EnableWindow(owner, TRUE);
    if (::IsWindow(hWnd)) {
        // The owner takes the activation back before the dialog goes, so
        // that the keyboard returns to it rather than to some other window.
        if (owner && ::IsWindow(owner) && ::GetActiveWindow() == hWnd) ::SetActiveWindow(owner);
        ::DestroyWindow(hWnd);
    }
    if (top) ::EnableWindow(top, TRUE);
    m_bContinueModal = false;
    return m_nModalResult;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
    return Create(MAKEINTRESOURCE(nIDTemplate), pParentWnd);
}

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd) {
    if (m_hWnd) return FALSE;
    m_lpszTemplateName = lpszTemplateName;
    if (pParentWnd) m_pParentWnd = pParentWnd;
    afx::HookCreate(this);
    HWND hWnd = ::CreateDialogParamA(AfxGetInstanceHandle(), lpszTemplateName,
                                     afx::HwndOf(m_pParentWnd), AfxDlgProc, 0);
    afx::UnhookCreate();
    if (!hWnd) {
        if (m_hWnd) Detach();
        return FALSE;
    }
    m_bOwnsWindow = true;
    return TRUE;
}

void CDialog::EndDialog(int nResult) {
    m_nModalResult = nResult;
    if (m_bContinueModal) {
        m_bContinueModal = false;
        ::ShowWindow(m_hWnd, SW_HIDE);
        ::PostMessageA(m_hWnd, WM_NULL, 0, 0);  // wakes the modal loop
    } else if (m_hWnd) {
        ::EndDialog(m_hWnd, nResult);
    }
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    // Only keyboard input gets the dialog keys; the rest is dispatched as usual.
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) return FALSE;
    if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd)) return FALSE;
    return ::IsDialogMessageA(m_hWnd, pMsg);
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl) {
    if (pWndCtrl)
        ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->m_hWnd), TRUE);
}
void CDialog::NextDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 0, FALSE); }
void CDialog::PrevDlgCtrl() const { ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, 1, FALSE); }
void CDialog::SetDefID(UINT nID) { ::SendMessageA(m_hWnd, DM_SETDEFID, nID, 0); }
DWORD CDialog::GetDefID() const { return DWORD(::SendMessageA(m_hWnd, DM_GETDEFID, 0, 0)); }
void CDialog::MapDialogRect(LPRECT lpRect) const { ::MapDialogRect(m_hWnd, lpRect); }

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, &CDialog::OnOK)
ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

// ---------------------------------------------------------------------------
// Data exchange

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

HWND CDataExchange::PrepareCtrl(int nIDC) {
    HWND control = ::GetDlgItem(afx::HwndOf(m_pDlgWnd), nIDC);
    if (!control) AfxThrowNotSupportedException();
    return control;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) { return PrepareCtrl(nIDC); }

void CDataExchange::Fail() { AfxThrowNotSupportedException(); }

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd) return;  // bound on an earlier exchange
    HWND control = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(control)) pDX->Fail();
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    HWND control = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        CWnd::FromHandle(control)->GetWindowText(value);
    } else {
        ::SetWindowTextA(control, value);
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        BOOL ok = FALSE;
        const int read = int(::GetDlgItemInt(pDX->m_pDlgWnd->m_hWnd, nIDC, &ok, TRUE));
        if (!ok) pDX->Fail();
        value = read;
    } else {
        ::SetDlgItemInt(pDX->m_pDlgWnd->m_hWnd, nIDC, UINT(value), TRUE);
    }
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value) {
    HWND control = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = int(::SendMessageA(control, BM_GETCHECK, 0, 0));
    } else {
        ::SendMessageA(control, BM_SETCHECK, WPARAM(value), 0);
    }
}
