// Cursors and window icons on the real SDL2 backend: a cursor of the
// program's own becomes an SDL colour cursor (made once per handle), the
// standard ones SDL's system cursors, and WM_SETICON reaches the native
// window without harm.
#include <SDL.h>

#include "xvfb_fixture.h"

namespace {

using SdlCursorIcon = sdl_test::XvfbTest;

// A 16x16 cursor: an opaque square with its hot spot at (3, 4).
HCURSOR SquareCursor() {
    HBITMAP color = CreateBitmap(16, 16, 1, 32, nullptr);
    HBITMAP mask = CreateBitmap(16, 16, 1, 1, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, mask);
    PatBlt(dc, 0, 0, 16, 16, WHITENESS);
    PatBlt(dc, 2, 2, 10, 10, BLACKNESS);
    SelectObject(dc, old);
    DeleteDC(dc);
    ICONINFO info{FALSE, 3, 4, mask, color};
    HCURSOR cursor = CreateIconIndirect(&info);
    DeleteObject(color);
    DeleteObject(mask);
    return cursor;
}

TEST_F(SdlCursorIcon, OwnCursorsBecomeColourCursorsAndStandardOnesSystemCursors) {
    HCURSOR square = SquareCursor();
    ASSERT_NE(square, nullptr);
    SetCursor(square);
    SDL_Cursor* made = SDL_GetCursor();
    ASSERT_NE(made, nullptr);
    EXPECT_NE(made, SDL_GetDefaultCursor());

    SetCursor(LoadCursorA(nullptr, IDC_IBEAM));
    SDL_Cursor* ibeam = SDL_GetCursor();
    EXPECT_NE(ibeam, made);
    // Back to the same handle: the cached SDL cursor, not a new one.
    SetCursor(square);
    EXPECT_EQ(SDL_GetCursor(), made);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    SetCursor(nullptr);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    DestroyCursor(square);
}

TEST_F(SdlCursorIcon, WindowIconsReachTheNativeWindow) {
    HICON icon = LoadIconA(nullptr, IDI_APPLICATION);
    EXPECT_EQ(SendMessageA(window_, WM_SETICON, ICON_BIG, LPARAM(icon)), 0);
    EXPECT_EQ(SendMessageA(window_, WM_SETICON, ICON_SMALL, LPARAM(icon)), 0);
    EXPECT_EQ(HICON(SendMessageA(window_, WM_GETICON, ICON_BIG, 0)), icon);
    // A handle that is no icon is kept but changes nothing natively.
    SendMessageA(window_, WM_SETICON, ICON_BIG, LPARAM(0x4321));
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    EXPECT_TRUE(IsWindow(window_));
}

}  // namespace
