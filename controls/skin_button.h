// CSkinButton: the owner-drawn, flat button of every screen. It shows a copy
// of the screen's picture under itself, an optional icon, a thin raised or
// sunk border while hovered or pressed, and plays sounds on hover and click.
#pragma once

#include <afxcmn.h>
#include <afxwin.h>

class CSkinButton : public CButton {
public:
    CSkinButton();
    ~CSkinButton() override;

    // Icons by resource id (0 = none) or by handle; the button owns them.
    // Returns 0, or 1 when an icon's information cannot be read.
    DWORD SetIcons(int nIconIn, int nIconOut = 0);
    DWORD SetIconHandles(HICON hIconIn, HICON hIconOut = nullptr);
    // A face of its own for the disabled button (0 = none: the icon is then
    // drawn in the system's embossed grey). Returns 0, or 1 when it does
    // not load.
    DWORD SetDisabledIcon(int nIcon);

    void SetTransparent(BOOL bRepaint = TRUE);
    // Copies the part of the parent's painted DC under the button. Returns
    // 0, or 5 when the button is not transparent or no DC is given.
    DWORD CaptureBackground(CDC* pDC);

    enum { EVENT_HOVER = 0, EVENT_CLICK = 1 };
    // lpszSound: a resource id (MAKEINTRESOURCE) with hMod, or a file name
    // without; null clears the event's sound.
    DWORD SetEventSound(LPCSTR lpszSound, HMODULE hMod, int nEvent, BOOL bAsync = TRUE);

    DWORD SetChecked(int nCheck, BOOL bRepaint = TRUE);
    int IsChecked() const { return m_nCheck; }
    void ResetColors(BOOL bRepaint = TRUE);

    // Current drawing state, read by tests and screens.
    BOOL IsHovered() const { return m_bHover; }

protected:
    void PreSubclassWindow() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

    virtual void DrawBackground(CDC* pDC, CRect* pRect);
    virtual void DrawBorder(CDC* pDC, CRect* pRect);
    virtual void DrawIconImage(CDC* pDC, const CString& strText, CRect* pItem, CRect* pCaption);
    virtual void DrawBitmapImage(CDC* pDC, const CString& strText, CRect* pItem, CRect* pCaption);
    virtual void DrawCaption(CDC* pDC, const CString& strText, CRect* pCaption);

    afx_msg UINT OnGetDlgCode();
    afx_msg LRESULT OnSetStyle(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetCheck(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetCheck(WPARAM wParam, LPARAM lParam);
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    afx_msg BOOL OnClicked();
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnCancelMode();
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnSysColorChange();
    DECLARE_MESSAGE_MAP()

private:
    struct IconInfo {
        HICON hIcon = nullptr;
        DWORD dwWidth = 0;
        DWORD dwHeight = 0;
    };
    struct SoundInfo {
        char szSound[MAX_PATH] = {};
        LPCSTR lpszSound = nullptr;
        HMODULE hMod = nullptr;
        DWORD dwFlags = 0;
    };

    void EndHover();
    void FreeIcons();
    void FreeBackground();
    void PlayEventSound(const SoundInfo& sound);
    void PaintBackgroundCopy(CDC* pDC);
    void Repaint();

    int m_nMarginX = 3;
    int m_nMarginY = 3;
    CPoint m_ptPressedOffset{1, 1};
    BOOL m_bFlat = TRUE;
    BOOL m_bHover = FALSE;
    BOOL m_bTransparent = FALSE;
    BOOL m_bPressed = FALSE;
    BOOL m_bFocused = FALSE;
    BOOL m_bDisabled = FALSE;
    BOOL m_bDefault = FALSE;
    BOOL m_bCheckBox = FALSE;
    BYTE m_nAlign = 0;
    BOOL m_bShowBorder = TRUE;
    BOOL m_bFocusRectWhenFlat = FALSE;
    COLORREF m_crFaceHover = 0;
    COLORREF m_crTextHover = 0;
    COLORREF m_crFaceRest = 0;
    COLORREF m_crTextRest = 0;
    COLORREF m_crFaceFocus = 0;
    COLORREF m_crTextFocus = 0;
    CToolTipCtrl m_ToolTip;
    CDC m_dcBk;
    CBitmap m_bmpBk;
    CBitmap* m_pbmpOldBk = nullptr;
    BOOL m_bTrackInactive = TRUE;
    int m_nCheck = 0;
    int m_nButtonType = 31;
    DWORD m_dwToolTipStyle = 0;
    IconInfo m_iconIn;
    IconInfo m_iconOut;
    IconInfo m_iconDisabled;
    SoundInfo m_sndHover;
    SoundInfo m_sndClick;
};
