// What the two colouring screens share.
#include "screens/coloring_screen.h"

#include <afxdlgs.h>

#include <cerrno>
#include <cstring>

#include "common/globals.h"
#include "controls/coloring_canvas.h"
#include "controls/coloring_thumbnail.h"
#include "res/resource.h"
#include "screens/catalogues.h"
#include "screens/home_dlg.h"
#include "screens/music_list_dlg.h"

namespace coloring_screen {

void PrepareButton(CSkinButton& button, int nIconIn, int nIconOut, BOOL bClickSound) {
    HMODULE hModule = AfxGetInstanceHandle();
    button.SetIcons(nIconIn, nIconOut);
    button.SetTransparent(FALSE);
    button.SetEventSound(MAKEINTRESOURCEA(IDW_HOVER), hModule, CSkinButton::EVENT_HOVER, TRUE);
    if (bClickSound)
        button.SetEventSound(MAKEINTRESOURCEA(IDW_CLICK), hModule, CSkinButton::EVENT_CLICK, TRUE);
}

BOOL PaintBackground(CWnd* pScreen, CDC* pDC, CBitmap& bmpBackground, CSkinButton* const* apButtons,
                     int nButtons) {
    if (!bmpBackground.GetSafeHandle()) return FALSE;
    CRect rcClient;
    pScreen->GetClientRect(&rcClient);
    CDC dcMem;
    dcMem.CreateCompatibleDC(pDC);
    CBitmap* pOld = dcMem.SelectObject(&bmpBackground);
    // A picture smaller than the client area leaves black beyond it, as a
    // plain copy does; the screens' pictures are made to their size.
    pDC->BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &dcMem, 0, 0, SRCCOPY);
    for (int i = 0; i < nButtons; ++i) apButtons[i]->CaptureBackground(pDC);
    dcMem.SelectObject(pOld);
    return TRUE;
}

void LoadBackground(CBitmap& bmp, const char* pszFolder) {
    CString strName;
    strName.Format("bg%d.bmp", 1);
    CString strPath = g_strAppDir + "Backgrnd\\" + pszFolder + "\\" + strName;
    HANDLE hImage = ::LoadImageA(nullptr, strPath, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (hImage) bmp.Attach(static_cast<HBITMAP>(hImage));
}

void CentreCanvas(CColoringCanvasCtrl& canvas, int nAreaLeft, int nAreaTop, int cxArea, int cyArea) {
    int h = canvas.GetPictureHeight();
    int w = canvas.GetPictureWidth();
    // Integer division rounds towards zero in C++, as the layout wants.
    canvas.MoveWindow((cxArea - w) / 2 + nAreaLeft, (cyArea - h) / 2 + nAreaTop, w, h, TRUE);
}

void FillTopicBox(CComboBox& box, const CStringArray& astrTopics) {
    box.AddString(kAllTopics);
    for (INT_PTR i = 0; i < astrTopics.GetSize(); ++i) box.AddString(astrTopics[i]);
    box.SetCurSel(0);
    box.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(g_fontUI.GetSafeHandle()), TRUE);
}

void UpdateRangeLabel(CSkinButton& label, CColoringThumbnailCtrl& strip, int nShown) {
    label.SetWindowText(FormatRangeLabel(strip.GetFirstVisible(), strip.GetRows() * strip.GetColumns(), nShown));
}

void SizeStrip(CWnd* pScreen, CColoringThumbnailCtrl& strip, int nRows) {
    strip.SetRows(nRows);
    CSize size = strip.GetIdealSize();
    CRect rect;
    strip.GetWindowRect(&rect);
    pScreen->ScreenToClient(&rect);
    strip.MoveWindow(rect.left, rect.top, size.cx, size.cy, TRUE);
}

void RunMusicList(CHomeDlg* pHome, CSkinButton& toggle) {
    CMusicListDlg dlg;
    if (dlg.DoModal() != IDOK) return;
    if (pHome) pHome->PlaySong(dlg.GetChosenCode());
    toggle.SetChecked(TRUE, TRUE);
}

void FollowMusicToggle(CHomeDlg* pHome, CSkinButton& toggle) {
    if (!pHome) return;
    if (toggle.IsChecked())
        pHome->RestartMusic();
    else
        pHome->StopMusic();
}

CString SaveFailureText(const CString& strPath, const CString& strReason) {
    CString strText;
    strText.Format("The picture could not be saved as\n%s\n\n%s", static_cast<LPCSTR>(strPath),
                   static_cast<LPCSTR>(strReason));
    return strText;
}

void SavePictureAs(CWnd* pScreen, CColoringCanvasCtrl& canvas) {
    CFileDialog dlg(FALSE, "bmp", "", OFN_OVERWRITEPROMPT, "Bitmap files (*.bmp)|*.bmp||", nullptr);
    if (dlg.DoModal() != IDOK) return;
    CString strPath = dlg.GetPathName();
    CString strReason;
    if (canvas.SavePicture(strPath, &strReason)) return;
    pScreen->MessageBox(SaveFailureText(strPath, strReason), "Save Picture", MB_OK | MB_ICONERROR);
}

}  // namespace coloring_screen
