#include "controls_host.h"

#include <unistd.h>

#include <filesystem>

#include "imagelib/pix_image.h"
#include "res/resource.h"

namespace controls_test {

CControlsHostDlg::CControlsHostDlg() : CDialog(IDD_COLOR_MIXER) {}

void CControlsHostDlg::AddControl(CWnd& control, LPCTSTR lpszClass, UINT nID, const RECT& rc) {
    HWND hWnd = ::CreateWindowExA(0, lpszClass, "", WS_CHILD | WS_VISIBLE, rc.left, rc.top,
                                  rc.right - rc.left, rc.bottom - rc.top, m_hWnd,
                                  reinterpret_cast<HMENU>(UINT_PTR(nID)), nullptr, nullptr);
    ASSERT_NE(hWnd, nullptr) << lpszClass;
    ASSERT_TRUE(control.SubclassDlgItem(nID, this));
}

BOOL CControlsHostDlg::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
    const auto* pRecord = reinterpret_cast<const NMCTRLVALUE*>(lParam);
    m_notifications.push_back(
        {pRecord->hdr.idFrom, pRecord->hdr.code, pRecord->hdr.hwndFrom, pRecord->dwValue});
    *pResult = 1;
    return TRUE;
}

Picture MakePicture(int width, int height, uint32_t fill) {
    Picture p;
    p.width = width;
    p.height = height;
    p.pixels.assign(size_t(width) * size_t(height), fill);
    return p;
}

void WritePicture(const Picture& picture, const std::string& path) {
    headless::Image image;
    image.width = picture.width;
    image.height = picture.height;
    image.pixels = picture.pixels;
    ASSERT_TRUE(headless::SaveBmp(image, path)) << path;
}

Picture ReadPicture(const std::string& path, int* pBitsPerPixel) {
    Picture p;
    PixImage image;
    if (!image.Load(path.c_str(), 1)) return p;
    if (pBitsPerPixel) *pBitsPerPixel = image.GetBpp();
    p = MakePicture(int(image.GetWidth()), int(image.GetHeight()), 0);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            PixRGBQuad q = image.GetPixelColor(x, y);
            p.At(x, y) = (uint32_t(q.rgbRed) << 16) | (uint32_t(q.rgbGreen) << 8) | q.rgbBlue;
        }
    return p;
}

std::string TestFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "_" + info->name();
    for (char& c : name)
        if (c == '/') c = '_';
    std::string folder =
        ::testing::TempDir() + "tinto_controls_" + std::to_string(getpid()) + "_" + name + "/";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

headless::Image ClientPixels(HWND hWnd) {
    headless::Image image;
    EXPECT_TRUE(headless::ReadPixels(hWnd, &image, true));
    return image;
}

}  // namespace controls_test
