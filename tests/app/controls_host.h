// A modeless dialog that hosts colouring controls for their tests, records
// the notifications they send, and helpers for pictures on disk.
#pragma once

#include <afxwin.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backends/headless/headless.h"
#include "controls/control_notify.h"

namespace controls_test {

// One WM_NOTIFY the host received.
struct Notification {
    UINT_PTR idFrom;
    UINT code;
    HWND hwndFrom;
    DWORD dwValue;
};

class CControlsHostDlg : public CDialog {
public:
    CControlsHostDlg();
    std::vector<Notification> m_notifications;

    // Creates a child window of `lpszClass` with id `nID` at the client
    // rectangle and attaches `control` to it, as dialog data exchange does.
    void AddControl(CWnd& control, LPCTSTR lpszClass, UINT nID, const RECT& rc);

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

// A picture as rows of 0x00RRGGBB, top-down.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    uint32_t& At(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};
Picture MakePicture(int width, int height, uint32_t fill);
// Writes a 24-bit BMP file.
void WritePicture(const Picture& picture, const std::string& path);
// Reads a BMP file through the image library; empty when unreadable.
Picture ReadPicture(const std::string& path, int* pBitsPerPixel = nullptr);

// A fresh folder for the test's files, ending with '/'.
std::string TestFolder();

// 0x00RRGGBB of a COLORREF, as pictures hold them.
inline uint32_t Rgb(COLORREF cr) {
    return (GetRValue(cr) << 16) | (GetGValue(cr) << 8) | GetBValue(cr);
}

// Every pixel of a window's client area, as 0x00RRGGBB.
headless::Image ClientPixels(HWND hWnd);

}  // namespace controls_test
