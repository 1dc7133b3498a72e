// CDialog: dialogs from templates, run modally in a loop of their own so
// that every window on the way can pre-translate its messages; data
// exchange binds controls to their objects.
#include <afxwin.h>

#include "core/dialog_create.h"
#include "framework_state.h"

// The dialog procedure behind every framework dialog: the object's map has
// already had each message; only WM_INITDIALOG is answered here.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM) {
    if (message != WM_INITDIALOG) return FALSE;
    auto* dialog = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd));
    return dialog ? dialog->OnInitDialog() : TRUE;
}

CDialog::CDialog() = default;

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCE(nIDTemplate)), m_nIDHelp(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd) {}

// A dialog without a parent is owned by the program's main window, unless
// it is that window.
HWND CDialog::OwnerForModal() const {
    HWND owner = afx::HwndOf(m_pParentWnd);
    if (!owner) {
        CWnd* main = AfxGetMainWnd();
        if (main && main != this) owner = afx::HwndOf(main);
    }
    return owner ? GetAncestor(owner, GA_ROOT) : nullptr;
}

INT_PTR CDialog::DoModal() {
    if (m_hWnd || !m_lpszTemplateName) return -1;
    HWND owner = OwnerForModal();
    m_nModalResult = -1;
    m_bContinueModal = true;
    afx::HookCreate(this);
    HWND hWnd = win::core::CreateDialogFromResource(m_lpszTemplateName, owner, AfxDlgProc, 0);
    afx::UnhookCreate();
    if (!hWnd) {
        if (m_hWnd) Detach();
        m_bContinueModal = false;
        return -1;
    }

    const bool disableOwner = owner && ::IsWindowEnabled(owner);
    if (disableOwner) ::EnableWindow(owner, FALSE);
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
    if (disableOwner) ::EnableWindow(owner, TRUE);
    if (::IsWindow(hWnd)) {
        if (owner && ::GetActiveWindow() == hWnd) ::SetActiveWindow(owner);
        ::DestroyWindow(hWnd);
    }
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
    HWND hWnd = ::CreateDialogParamA(AfxGetInstanceHandle(), lpszTemplateName, afx::HwndOf(m_pParentWnd),
                                     AfxDlgProc, 0);
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
    if (pWndCtrl) ::SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->m_hWnd), TRUE);
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
