#include "screens/screen_background.h"

BOOL PaintScreenBackground(CWnd* pScreen, CDC* pDC, CBitmap& bmpBackground) {
    BITMAP bm{};
    if (!bmpBackground.GetSafeHandle() || !bmpBackground.GetBitmap(&bm)) return FALSE;
    CRect rcClient;
    pScreen->GetClientRect(&rcClient);
    if (bm.bmWidth < rcClient.Width() || bm.bmHeight < rcClient.Height())
        pDC->FillSolidRect(&rcClient, ::GetSysColor(COLOR_3DFACE));
    CDC dcMem;
    dcMem.CreateCompatibleDC(pDC);
    CBitmap* pOld = dcMem.SelectObject(&bmpBackground);
    pDC->BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &dcMem, 0, 0, SRCCOPY);
    dcMem.SelectObject(pOld);
    return TRUE;
}
