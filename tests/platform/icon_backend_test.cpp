// Cursors and window icons reaching the backend: SetCursor and class
// cursors from resources, WM_SETICON/WM_GETICON, and the pixels the SDL
// backend turns into native cursors and window icons.
#include "backends/sdl2/icon_surface.h"
#include "window_fixture.h"

namespace {

const LPCSTR kIcon = MAKEINTRESOURCEA(9100);
const LPCSTR kCursor = MAKEINTRESOURCEA(9101);

class IconBackend : public WindowTest {};

TEST_F(IconBackend, CursorsFromResourcesReachTheBackend) {
    HCURSOR brush = LoadCursorA(GetModuleHandleA(nullptr), kCursor);
    ASSERT_NE(brush, nullptr);
    EXPECT_EQ(LoadCursorA(nullptr, kCursor), brush);  // shared: one handle per resource

    // As a class cursor: set when the pointer moves over the window.
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hCursor = brush;
    wc.lpszClassName = "TestBrushCursor";
    ASSERT_NE(RegisterClassA(&wc), 0);
    HWND top = Top(0, 0, 200, 200);
    HWND canvas = Child(top, 1, 50, 50, 100, 100, WS_CHILD | WS_VISIBLE, "TestBrushCursor");
    ASSERT_NE(canvas, nullptr);
    Pump();
    headless::MouseMove(10, 10);
    Pump();
    EXPECT_NE(headless::CurrentCursor(), brush);
    headless::MouseMove(80, 80);
    Pump();
    EXPECT_EQ(headless::CurrentCursor(), brush);
    EXPECT_EQ(GetCursor(), brush);

    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    EXPECT_EQ(SetCursor(arrow), brush);
    EXPECT_EQ(headless::CurrentCursor(), arrow);
    DestroyWindow(top);
    UnregisterClassA("TestBrushCursor", nullptr);
}

TEST_F(IconBackend, SetIconReachesTheNativeWindow) {
    HWND top = Top(0, 0, 100, 100);
    HWND child = Child(top, 1, 0, 0, 10, 10);
    HICON big = LoadIconA(nullptr, kIcon);
    HICON small = static_cast<HICON>(LoadImageA(nullptr, kIcon, IMAGE_ICON, 16, 16, 0));
    EXPECT_EQ(headless::WindowIcon(top), nullptr);

    EXPECT_EQ(SendMessageA(top, WM_SETICON, ICON_BIG, LPARAM(big)), 0);
    EXPECT_EQ(SendMessageA(top, WM_SETICON, ICON_SMALL, LPARAM(small)), 0);
    EXPECT_EQ(headless::WindowIcon(top, ICON_BIG), big);
    EXPECT_EQ(headless::WindowIcon(top, ICON_SMALL), small);
    EXPECT_EQ(HICON(SendMessageA(top, WM_GETICON, ICON_BIG, 0)), big);
    EXPECT_EQ(HICON(SendMessageA(top, WM_GETICON, ICON_SMALL, 0)), small);
    // Replacing answers the previous icon.
    EXPECT_EQ(HICON(SendMessageA(top, WM_SETICON, ICON_SMALL, 0)), small);
    EXPECT_EQ(HICON(SendMessageA(top, WM_GETICON, ICON_SMALL2, 0)), big);
    EXPECT_EQ(headless::WindowIcon(top, ICON_SMALL), nullptr);
    EXPECT_EQ(SendMessageA(top, WM_SETICON, 7, LPARAM(big)), 0);  // no such kind
    EXPECT_EQ(headless::WindowIcon(top, ICON_BIG), big);

    // A child keeps its icon to itself.
    SendMessageA(child, WM_SETICON, ICON_BIG, LPARAM(small));
    EXPECT_EQ(HICON(SendMessageA(child, WM_GETICON, ICON_BIG, 0)), small);
    EXPECT_EQ(headless::WindowIcon(child), nullptr);

    DestroyWindow(top);
    EXPECT_EQ(headless::WindowIcon(top), nullptr);
    DestroyIcon(small);
}

TEST_F(IconBackend, IconStaticControlsLoadAndDrawTheirIcon) {
    HWND top = Top(0, 0, 200, 200);
    // A dialog template's ICON control names its icon in its text.
    HWND icon = CreateWindowExA(0, "STATIC", "#9100", WS_CHILD | WS_VISIBLE | SS_ICON, 10, 10, 5, 5,
                                top, nullptr, nullptr, nullptr);
    ASSERT_NE(icon, nullptr);
    Pump();
    RECT r;
    GetClientRect(icon, &r);
    EXPECT_EQ(r.right, GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(r.bottom, GetSystemMetrics(SM_CYICON));
    EXPECT_EQ(HICON(SendMessageA(icon, STM_GETICON, 0, 0)), LoadIconA(nullptr, kIcon));
    // The 32-pixel image is blue with alpha rising to the right.
    COLORREF right = headless::PixelAt(icon, 31, 5);
    EXPECT_GT(GetBValue(right), 200);
    EXPECT_LT(GetRValue(right), 30);
    EXPECT_NE(headless::PixelAt(icon, 0, 5), right);
    // A name that is no icon leaves the control empty, at its own size.
    HWND none = CreateWindowExA(0, "STATIC", "#4242", WS_CHILD | WS_VISIBLE | SS_ICON, 60, 10, 5, 5,
                                top, nullptr, nullptr, nullptr);
    Pump();
    GetClientRect(none, &r);
    EXPECT_EQ(r.right, 5);
    EXPECT_EQ(SendMessageA(none, STM_GETICON, 0, 0), 0);
    DestroyWindow(top);
}

TEST(IconSurface, PixelsAndHotSpotsForNativeCursorsAndIcons) {
    auto cursor = win::icons::Find(LoadCursorA(nullptr, kCursor));
    ASSERT_TRUE(cursor);
    SDL_Surface* s = win::sdl::IconSurface(*cursor);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->w, 32);
    auto at = [](SDL_Surface* surface, int x, int y) {
        return reinterpret_cast<Uint32*>(static_cast<Uint8*>(surface->pixels) +
                                         y * surface->pitch)[x];
    };
    EXPECT_EQ(at(s, 0, 0), 0xFF000000u);  // the opaque black square
    EXPECT_EQ(at(s, 20, 20) >> 24, 0u);   // transparent elsewhere
    SDL_FreeSurface(s);

    auto alpha = win::icons::Find(
        static_cast<HICON>(LoadImageA(nullptr, kIcon, IMAGE_ICON, 32, 32, LR_SHARED)));
    ASSERT_TRUE(alpha);
    s = win::sdl::IconSurface(*alpha);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(at(s, 0, 0) >> 24, 0u);
    EXPECT_EQ(at(s, 31, 0), (248u << 24) | 0x0000FFu);  // alpha rising to the right, blue
    SDL_FreeSurface(s);

    EXPECT_EQ(win::sdl::SystemCursorFor(32513), int(SDL_SYSTEM_CURSOR_IBEAM));
    EXPECT_EQ(win::sdl::SystemCursorFor(0), -1);
    EXPECT_EQ(win::icons::Find(LoadCursorA(nullptr, IDC_HAND))->systemId, 32649);
}

}  // namespace
