// Registration of the colouring controls' window classes.
#include "controls/coloring_window_class.h"

void RegisterColoringWindowClass(LPCTSTR lpszClassName, HCURSOR hCursor) {
    HINSTANCE hInstance = AfxGetInstanceHandle();
    WNDCLASS wc{};
    if (::GetClassInfo(hInstance, lpszClassName, &wc)) return;
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    // The control object subclasses the window when the dialog attaches it.
    wc.lpfnWndProc = ::DefWindowProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = hInstance;
    wc.hIcon = nullptr;
    wc.hCursor = hCursor
                     ? hCursor
                     : ::LoadCursor(AfxGetResourceHandle(), MAKEINTRESOURCE(kPaintBrushCursorId));
    // COLOR_HIGHLIGHTTEXT + 1: the class brush is that system colour's.
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_HIGHLIGHTTEXT + 1);
    wc.lpszMenuName = nullptr;
    wc.lpszClassName = lpszClassName;
    if (!AfxRegisterClass(&wc)) AfxThrowResourceException();
}
