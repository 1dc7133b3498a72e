// Opening picture files for the controls.
#include "controls/picture_file.h"

#include "imagelib/pix_image.h"

CString NativeFilePath(CString strPath) {
    strPath.Replace('\\', '/');
    return strPath;
}

HBITMAP LoadPictureFile(const CString& strPath) {
    HANDLE hImage = ::LoadImage(nullptr, strPath, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    if (hImage) return static_cast<HBITMAP>(hImage);
    PixImage image;
    if (!image.Load(NativeFilePath(strPath))) return nullptr;
    HDC hScreen = ::GetDC(nullptr);
    if (!hScreen) return nullptr;
    const BITMAPINFO* pInfo = reinterpret_cast<const BITMAPINFO*>(image.GetBlock());
    HBITMAP hBitmap = ::CreateDIBitmap(hScreen, &pInfo->bmiHeader, CBM_INIT, image.GetRow(0), pInfo,
                                       DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, hScreen);
    return hBitmap;
}
