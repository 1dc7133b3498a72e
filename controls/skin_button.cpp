// The skinned button: drawing, hover tracking, sounds and check-box toggling.
#include "controls/skin_button.h"

#include <cstring>

namespace {

// The button types that make a toggle of the button.
bool IsCheckBoxType(UINT nType) {
    return nType == BS_CHECKBOX || nType == BS_AUTOCHECKBOX || nType == BS_3STATE ||
           nType == BS_AUTO3STATE;
}

}  // namespace

BEGIN_MESSAGE_MAP(CSkinButton, CButton)
ON_WM_GETDLGCODE()
ON_MESSAGE(BM_SETSTYLE, &CSkinButton::OnSetStyle)
ON_MESSAGE(BM_SETCHECK, &CSkinButton::OnSetCheck)
ON_MESSAGE(BM_GETCHECK, &CSkinButton::OnGetCheck)
ON_WM_CTLCOLOR_REFLECT()
ON_CONTROL_REFLECT_EX(BN_CLICKED, &CSkinButton::OnClicked)
ON_WM_MOUSEMOVE()
ON_MESSAGE(WM_MOUSELEAVE, &CSkinButton::OnMouseLeave)
ON_WM_KILLFOCUS()
ON_WM_CANCELMODE()
ON_WM_ACTIVATE()
ON_WM_ENABLE()
ON_WM_SETCURSOR()
ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

CSkinButton::CSkinButton() { ResetColors(FALSE); }

CSkinButton::~CSkinButton() {
    FreeBackground();
    FreeIcons();
    if (m_iconDisabled.hIcon) ::DestroyIcon(m_iconDisabled.hIcon);
    if (m_ToolTip.GetSafeHwnd()) m_ToolTip.DestroyWindow();
}

// --- Set-up --------------------------------------------------------------

DWORD CSkinButton::SetIcons(int nIconIn, int nIconOut) {
    HINSTANCE hInstance = AfxGetInstanceHandle();
    HICON hIconIn = nullptr;
    HICON hIconOut = nullptr;
    if (nIconIn)
        hIconIn = static_cast<HICON>(
            ::LoadImageA(hInstance, MAKEINTRESOURCEA(nIconIn), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
    if (nIconOut)
        hIconOut = static_cast<HICON>(
            ::LoadImageA(hInstance, MAKEINTRESOURCEA(nIconOut), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
    return SetIconHandles(hIconIn, hIconOut);
}

namespace {

// An icon's hot spot is its centre, so its size is twice the hot spot.
template <typename Info>
bool TakeIcon(HICON hIcon, Info* pInfo) {
    if (!hIcon) return true;
    ICONINFO ii{};
    if (!::GetIconInfo(hIcon, &ii)) {
        ::DestroyIcon(hIcon);
        return false;
    }
    pInfo->hIcon = hIcon;
    pInfo->dwWidth = ii.xHotspot * 2;
    pInfo->dwHeight = ii.yHotspot * 2;
    if (ii.hbmMask) ::DeleteObject(ii.hbmMask);
    if (ii.hbmColor) ::DeleteObject(ii.hbmColor);
    return true;
}

}  // namespace

DWORD CSkinButton::SetDisabledIcon(int nIcon) {
    if (m_iconDisabled.hIcon) ::DestroyIcon(m_iconDisabled.hIcon);
    m_iconDisabled = IconInfo{};
    HICON hIcon = nullptr;
    if (nIcon)
        hIcon = static_cast<HICON>(::LoadImageA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(nIcon),
                                                IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
    const bool ok = (!nIcon || hIcon) && TakeIcon(hIcon, &m_iconDisabled);
    Repaint();
    return ok ? 0 : 1;
}

DWORD CSkinButton::SetIconHandles(HICON hIconIn, HICON hIconOut) {
    FreeIcons();
    bool ok = TakeIcon(hIconIn, &m_iconIn);
    ok = TakeIcon(hIconOut, &m_iconOut) && ok;
    if (!ok) FreeIcons();
    Repaint();
    return ok ? 0 : 1;
}

void CSkinButton::SetTransparent(BOOL bRepaint) {
    m_bTransparent = TRUE;
    FreeBackground();
    if (bRepaint) Repaint();
}

DWORD CSkinButton::CaptureBackground(CDC* pDC) {
    if (!m_bTransparent || !pDC || !pDC->GetSafeHdc() || !GetSafeHwnd() || !GetParent()) return 5;
    FreeBackground();
    CRect rcClient;
    GetClientRect(&rcClient);
    CRect rcUnder;
    GetWindowRect(&rcUnder);
    GetParent()->ScreenToClient(&rcUnder);
    m_dcBk.CreateCompatibleDC(pDC);
    m_bmpBk.CreateCompatibleBitmap(pDC, rcClient.Width(), rcClient.Height());
    m_pbmpOldBk = m_dcBk.SelectObject(&m_bmpBk);
    m_dcBk.BitBlt(0, 0, rcClient.Width(), rcClient.Height(), pDC, rcUnder.left, rcUnder.top,
                  SRCCOPY);
    return 0;
}

DWORD CSkinButton::SetEventSound(LPCSTR lpszSound, HMODULE hMod, int nEvent, BOOL bAsync) {
    if (nEvent != EVENT_HOVER && nEvent != EVENT_CLICK) return 1;
    SoundInfo& sound = nEvent == EVENT_HOVER ? m_sndHover : m_sndClick;
    sound = SoundInfo{};
    if (!lpszSound) return 0;
    if (!hMod && IS_INTRESOURCE(lpszSound)) return 1;  // a resource needs its module
    if (hMod && IS_INTRESOURCE(lpszSound)) {
        sound.lpszSound = lpszSound;
    } else {
        // A name is copied: the caller's string need not outlive the button.
        std::strncpy(sound.szSound, lpszSound, sizeof(sound.szSound) - 1);
        sound.lpszSound = sound.szSound;
    }
    sound.hMod = hMod;
    sound.dwFlags = SND_NODEFAULT | SND_NOWAIT | (hMod ? SND_RESOURCE : SND_FILENAME);
    if (bAsync) sound.dwFlags |= SND_ASYNC;
    return 0;
}

DWORD CSkinButton::SetChecked(int nCheck, BOOL bRepaint) {
    if (m_bCheckBox) {
        m_nCheck = nCheck ? 1 : 0;
        if (bRepaint) Repaint();
    }
    return 0;
}

void CSkinButton::ResetColors(BOOL bRepaint) {
    m_crFaceHover = m_crFaceRest = m_crFaceFocus = ::GetSysColor(COLOR_BTNFACE);
    m_crTextHover = m_crTextRest = m_crTextFocus = ::GetSysColor(COLOR_BTNTEXT);
    if (bRepaint) Repaint();
}

// --- Subclassing and messages --------------------------------------------

void CSkinButton::PreSubclassWindow() {
    UINT nStyle = GetStyle() & 0xFF;
    m_nButtonType = int(nStyle & 0x1F);
    if (IsCheckBoxType(nStyle & 0x1F)) m_bCheckBox = TRUE;
    if (m_nButtonType == BS_DEFPUSHBUTTON) {
        m_bDefault = TRUE;
        m_nButtonType = BS_PUSHBUTTON;
    }
    ModifyStyle(0x1F, BS_OWNERDRAW, SWP_FRAMECHANGED);
    CButton::PreSubclassWindow();
}

BOOL CSkinButton::PreTranslateMessage(MSG* pMsg) {
    // The tool-tip is created and fed, but never activated: no screen gives
    // a button a tip text.
    if (!m_ToolTip.GetSafeHwnd()) {
        m_ToolTip.Create(this, m_dwToolTipStyle);
        m_ToolTip.Activate(FALSE);
        m_ToolTip.SetMaxTipWidth(400);
    }
    if (m_ToolTip.GetSafeHwnd()) m_ToolTip.RelayEvent(pMsg);
    // A fast second click is another click, not a double click.
    if (pMsg->message == WM_LBUTTONDBLCLK) pMsg->message = WM_LBUTTONDOWN;
    return CButton::PreTranslateMessage(pMsg);
}

UINT CSkinButton::OnGetDlgCode() {
    UINT nCode = CButton::OnGetDlgCode();
    nCode |= m_bDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON;
    return nCode;
}

LRESULT CSkinButton::OnSetStyle(WPARAM wParam, LPARAM lParam) {
    UINT nType = UINT(wParam) & 0x1F;
    if (nType == BS_PUSHBUTTON || nType == BS_DEFPUSHBUTTON) m_bDefault = nType == BS_DEFPUSHBUTTON;
    // Whatever is asked, the button stays owner-drawn.
    return DefWindowProc(BM_SETSTYLE, (wParam & ~WPARAM(0x14)) | BS_OWNERDRAW, lParam);
}

LRESULT CSkinButton::OnSetCheck(WPARAM wParam, LPARAM) {
    SetChecked(wParam == BST_CHECKED || wParam == BST_INDETERMINATE ? 1 : 0, TRUE);
    return 0;
}

LRESULT CSkinButton::OnGetCheck(WPARAM, LPARAM) { return m_nCheck; }

HBRUSH CSkinButton::CtlColor(CDC*, UINT) {
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

BOOL CSkinButton::OnClicked() {
    SetFocus();
    PlayEventSound(m_sndClick);
    // The toggle happens before the parent's handler, which reads the new state.
    if (m_bCheckBox) {
        m_nCheck = m_nCheck == 0 ? 1 : 0;
        Repaint();
    }
    return FALSE;
}

void CSkinButton::OnMouseMove(UINT nFlags, CPoint point) {
    CButton::OnMouseMove(nFlags, point);
    ClientToScreen(&point);
    CWnd* pUnder = CWnd::WindowFromPoint(point);
    // Dragging onto a button does not light it.
    if ((nFlags & MK_LBUTTON) && !m_bHover) return;
    if (!m_bFlat) return;
    if (!m_bTrackInactive && !CWnd::GetActiveWindow()) return;
    if (pUnder && pUnder->GetSafeHwnd() == GetSafeHwnd()) {
        if (m_bHover) return;
        m_bHover = TRUE;
        Repaint();
        PlayEventSound(m_sndHover);
        TRACKMOUSEEVENT tme{};
        tme.cbSize = sizeof(tme);
        tme.dwFlags = TME_LEAVE;
        tme.hwndTrack = GetSafeHwnd();
        ::_TrackMouseEvent(&tme);
    } else {
        EndHover();
    }
}

LRESULT CSkinButton::OnMouseLeave(WPARAM, LPARAM) {
    EndHover();
    return 0;
}

void CSkinButton::OnKillFocus(CWnd* pNewWnd) {
    CButton::OnKillFocus(pNewWnd);
    EndHover();
}

void CSkinButton::OnCancelMode() {
    CButton::OnCancelMode();
    EndHover();
}

void CSkinButton::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
    CButton::OnActivate(nState, pWndOther, bMinimized);
    if (nState == WA_INACTIVE) EndHover();
}

void CSkinButton::OnEnable(BOOL bEnable) {
    CButton::OnEnable(bEnable);
    if (bEnable) return;
    // A disabled button cannot keep the focus: hand it on to the next tab
    // stop. Buttons without the focus leave it where it is.
    HWND hFocus = ::GetFocus();
    CWnd* pParent = GetParent();
    if (pParent && hFocus && (hFocus == GetSafeHwnd() || ::IsChild(GetSafeHwnd(), hFocus))) {
        CWnd* pNext = pParent->GetNextDlgTabItem(this);
        if (pNext && pNext->GetSafeHwnd() != GetSafeHwnd())
            pNext->SetFocus();
        else
            pParent->SetFocus();
    }
    EndHover();
}

BOOL CSkinButton::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    return CButton::OnSetCursor(pWnd, nHitTest, message);
}

void CSkinButton::OnSysColorChange() {
    CButton::OnSysColorChange();
    FreeBackground();
    ResetColors(TRUE);
}

// --- Drawing -------------------------------------------------------------

void CSkinButton::DrawItem(LPDRAWITEMSTRUCT lpDIS) {
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    const BOOL bSelected = (lpDIS->itemState & ODS_SELECTED) != 0;
    m_bPressed = m_bCheckBox ? (bSelected || m_nCheck != 0) : bSelected;
    m_bFocused = (lpDIS->itemState & ODS_FOCUS) != 0;
    m_bDisabled = (lpDIS->itemState & ODS_DISABLED) != 0;

    CRect rcItem = lpDIS->rcItem;
    pDC->SetBkMode(TRANSPARENT);
    if (m_bTransparent)
        PaintBackgroundCopy(pDC);
    else
        DrawBackground(pDC, &rcItem);
    DrawBorder(pDC, &rcItem);

    CString strText;
    GetWindowText(strText);
    CRect rcCaption = lpDIS->rcItem;
    CRect rcIcon = lpDIS->rcItem;
    if (m_iconIn.hIcon) DrawIconImage(pDC, strText, &rcIcon, &rcCaption);
    if (!strText.IsEmpty()) DrawCaption(pDC, strText, &rcCaption);

    if (m_bFocused && (!m_bFlat || m_bFocusRectWhenFlat)) {
        CRect rcFocus = lpDIS->rcItem;
        rcFocus.DeflateRect(3, 3);
        pDC->DrawFocusRect(&rcFocus);
    }
}

void CSkinButton::PaintBackgroundCopy(CDC* pDC) {
    CRect rcClient;
    GetClientRect(&rcClient);
    if (!m_dcBk.GetSafeHdc()) {
        // First drawing: keep what the parent painted under the button.
        CWnd* pParent = GetParent();
        if (!pParent) return;
        CClientDC dcParent(pParent);
        CRect rcUnder;
        GetWindowRect(&rcUnder);
        pParent->ScreenToClient(&rcUnder);
        m_dcBk.CreateCompatibleDC(&dcParent);
        m_bmpBk.CreateCompatibleBitmap(&dcParent, rcClient.Width(), rcClient.Height());
        m_pbmpOldBk = m_dcBk.SelectObject(&m_bmpBk);
        m_dcBk.BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &dcParent, rcUnder.left,
                      rcUnder.top, SRCCOPY);
    }
    pDC->BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &m_dcBk, 0, 0, SRCCOPY);
}

void CSkinButton::DrawBackground(CDC* pDC, CRect* pRect) {
    if (!m_bFlat && (m_bFocused || m_bDefault)) {
        CBrush brFrame(RGB(0, 0, 0));
        pDC->FrameRect(pRect, &brFrame);
        pRect->DeflateRect(1, 1);
    }
    COLORREF crFace = m_crFaceRest;
    if (m_bHover || m_bPressed)
        crFace = m_crFaceHover;
    else if (m_bFocused)
        crFace = m_crFaceFocus;
    CBrush brFace(crFace);
    pDC->FillRect(pRect, &brFace);
}

void CSkinButton::DrawBorder(CDC* pDC, CRect* pRect) {
    if (!m_bFlat || !m_bShowBorder) return;
    const COLORREF crShadow = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF crHighlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    if (m_bPressed)
        pDC->Draw3dRect(pRect, crShadow, crHighlight);  // sunk
    else if (m_bHover)
        pDC->Draw3dRect(pRect, crHighlight, crShadow);  // raised
}

void CSkinButton::DrawIconImage(CDC* pDC, const CString& strText, CRect* pItem, CRect* pCaption) {
    const bool bUseIn = m_bCheckBox ? bool(m_bPressed) : (m_bPressed || m_bHover);
    const bool bOwnDisabled = m_bDisabled && m_iconDisabled.hIcon;
    const IconInfo& icon = bOwnDisabled                 ? m_iconDisabled
                           : bUseIn || !m_iconOut.hIcon ? m_iconIn
                                                        : m_iconOut;
    const int cx = int(icon.dwWidth);
    const int cy = int(icon.dwHeight);

    CRect rcImage = *pItem;
    if (strText.IsEmpty()) {
        rcImage.left += (rcImage.Width() - cx) / 2;
    } else {
        rcImage.left += m_nMarginX;
        pCaption->left += cx + m_nMarginX;
    }
    rcImage.top += (rcImage.Height() - cy) / 2;
    if (m_bPressed && !m_bCheckBox) rcImage.OffsetRect(m_ptPressedOffset);

    pDC->DrawState(rcImage.TopLeft(), CSize(cx, cy), icon.hIcon,
                   DST_ICON | (m_bDisabled && !bOwnDisabled ? DSS_DISABLED : DSS_NORMAL),
                   static_cast<HBRUSH>(nullptr));
}

void CSkinButton::DrawBitmapImage(CDC*, const CString&, CRect*, CRect*) {
    // No button of the program has a bitmap face.
}

void CSkinButton::DrawCaption(CDC* pDC, const CString& strText, CRect* pCaption) {
    CRect rcCaption = *pCaption;
    if (m_bPressed && !m_bCheckBox) rcCaption.OffsetRect(m_ptPressedOffset);

    CRect rcText = rcCaption;
    pDC->DrawText(strText, &rcText, DT_WORDBREAK | DT_CENTER | DT_CALCRECT);
    rcText.OffsetRect((rcCaption.Width() - rcText.Width()) / 2,
                      (rcCaption.Height() - rcText.Height()) / 2);

    if (m_bDisabled) {
        // Embossed: a highlight copy one pixel down-right under the shadow.
        rcText.OffsetRect(1, 1);
        pDC->SetTextColor(::GetSysColor(COLOR_BTNHIGHLIGHT));
        pDC->DrawText(strText, &rcText, DT_WORDBREAK | DT_CENTER);
        rcText.OffsetRect(-1, -1);
        pDC->SetTextColor(::GetSysColor(COLOR_BTNSHADOW));
        pDC->DrawText(strText, &rcText, DT_WORDBREAK | DT_CENTER);
        return;
    }
    if (m_bHover || m_bPressed) {
        pDC->SetTextColor(m_crTextHover);
        pDC->SetBkColor(m_crFaceHover);
    } else if (m_bFocused) {
        pDC->SetTextColor(m_crTextFocus);
        pDC->SetBkColor(m_crFaceFocus);
    } else {
        pDC->SetTextColor(m_crTextRest);
        pDC->SetBkColor(m_crFaceRest);
    }
    pDC->DrawText(strText, &rcText, DT_WORDBREAK | DT_CENTER);
}

// --- Helpers -------------------------------------------------------------

void CSkinButton::EndHover() {
    if (m_bFlat && m_bHover) {
        m_bHover = FALSE;
        Repaint();
    }
}

void CSkinButton::FreeIcons() {
    if (m_iconIn.hIcon) ::DestroyIcon(m_iconIn.hIcon);
    if (m_iconOut.hIcon && m_iconOut.hIcon != m_iconIn.hIcon) ::DestroyIcon(m_iconOut.hIcon);
    m_iconIn = IconInfo{};
    m_iconOut = IconInfo{};
}

void CSkinButton::FreeBackground() {
    if (m_dcBk.GetSafeHdc() && m_pbmpOldBk) m_dcBk.SelectObject(m_pbmpOldBk);
    m_pbmpOldBk = nullptr;
    m_bmpBk.DeleteObject();
    m_dcBk.DeleteDC();
}

void CSkinButton::PlayEventSound(const SoundInfo& sound) {
    if (sound.lpszSound) ::PlaySoundA(sound.lpszSound, sound.hMod, sound.dwFlags);
}

void CSkinButton::Repaint() {
    if (GetSafeHwnd()) Invalidate(TRUE);
}
