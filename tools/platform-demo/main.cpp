// A small program on the layer: a framed window holding a canvas control.
// The canvas keeps a line-art picture in a memory bitmap and paints it; a
// press captures the mouse, and releasing the button over the canvas
// flood-fills the region under the pointer with the next colour.
//
// It opens a real window and runs until closed (Escape or the close box).
// With --headless it runs by script instead: it clicks inside a few regions,
// checks that they were filled, and writes a screenshot of its window as a
// BMP file.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "backends/display.h"
#include "backends/headless/headless.h"

namespace {

constexpr int kCanvasWidth = 320;
constexpr int kCanvasHeight = 220;
constexpr COLORREF kColours[] = {RGB(255, 90, 90), RGB(255, 200, 40), RGB(80, 190, 90),
                                 RGB(70, 140, 255), RGB(190, 100, 220)};

struct Canvas {
    HDC memory = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previousBitmap = nullptr;
    int nextColour = 0;
};

Canvas g_canvas;

// A house under a sun: closed regions with 3-pixel black outlines.
void DrawPicture(HDC dc) {
    PatBlt(dc, 0, 0, kCanvasWidth, kCanvasHeight, WHITENESS);
    HPEN pen = CreatePen(PS_SOLID, 3, RGB(0, 0, 0));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, 60, 100, 200, 200);   // walls
    Rectangle(dc, 85, 125, 120, 160);   // window
    Rectangle(dc, 140, 140, 175, 200);  // door
    MoveToEx(dc, 50, 102, nullptr);     // roof
    LineTo(dc, 130, 40);
    LineTo(dc, 210, 102);
    LineTo(dc, 50, 102);
    Ellipse(dc, 240, 20, 300, 80);  // sun
    MoveToEx(dc, 0, 200, nullptr);  // ground
    LineTo(dc, kCanvasWidth, 200);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

LRESULT CALLBACK CanvasProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: {
            HDC screen = GetDC(nullptr);
            g_canvas.memory = CreateCompatibleDC(screen);
            g_canvas.bitmap = CreateCompatibleBitmap(screen, kCanvasWidth, kCanvasHeight);
            ReleaseDC(nullptr, screen);
            if (!g_canvas.memory || !g_canvas.bitmap) return -1;
            g_canvas.previousBitmap = SelectObject(g_canvas.memory, g_canvas.bitmap);
            DrawPicture(g_canvas.memory);
            return 0;
        }
        case WM_ERASEBKGND: return TRUE;  // the picture covers everything
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            BitBlt(dc, 0, 0, kCanvasWidth, kCanvasHeight, g_canvas.memory, 0, 0, SRCCOPY);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) PostMessageA(GetParent(hwnd), WM_CLOSE, 0, 0);
            return 0;
        case WM_LBUTTONDOWN: SetCapture(hwnd); return 0;
        case WM_LBUTTONUP: {
            if (GetCapture() != hwnd) return 0;
            ReleaseCapture();
            int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
            if (x < 0 || y < 0 || x >= kCanvasWidth || y >= kCanvasHeight) return 0;
            COLORREF target = GetPixel(g_canvas.memory, x, y);
            if (target == RGB(0, 0, 0)) return 0;  // outlines stay black
            HBRUSH brush = CreateSolidBrush(kColours[g_canvas.nextColour]);
            g_canvas.nextColour = (g_canvas.nextColour + 1) % int(std::size(kColours));
            HGDIOBJ old = SelectObject(g_canvas.memory, brush);
            ExtFloodFill(g_canvas.memory, x, y, target, FLOODFILLSURFACE);
            SelectObject(g_canvas.memory, old);
            DeleteObject(brush);
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        }
        case WM_DESTROY:
            SelectObject(g_canvas.memory, g_canvas.previousBitmap);
            DeleteObject(g_canvas.bitmap);
            DeleteDC(g_canvas.memory);
            g_canvas = Canvas{};
            return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE) PostMessageA(hwnd, WM_CLOSE, 0, 0);
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool Register() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = FrameProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = "DemoFrame";
    if (!RegisterClassA(&wc)) return false;
    wc.lpfnWndProc = CanvasProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.hCursor = LoadCursorA(nullptr, IDC_CROSS);
    wc.lpszClassName = "DemoCanvas";
    return RegisterClassA(&wc) != 0;
}

std::string DefaultScreenshotPath() {
    char exe[MAX_PATH * 4];
    DWORD n = GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string dir = n > 0 && n < sizeof exe ? std::string(exe, n) : std::string("./x");
    return dir.substr(0, dir.find_last_of('/') + 1) + "platform-demo.bmp";
}

int RunScripted(HWND frame, HWND canvas, const std::string& out) {
    headless::RunUntilIdle();

    // Scripted clicks (canvas coordinates): the walls, the sun, the sky, and
    // a press that is released outside the canvas (captured, so no fill).
    const POINT clicks[] = {{70, 180}, {270, 50}, {20, 20}};
    POINT origin{0, 0};
    ClientToScreen(canvas, &origin);
    for (POINT p : clicks) {
        headless::Click(origin.x + p.x, origin.y + p.y);
        headless::RunUntilIdle();
    }
    headless::MouseDown(origin.x + 100, origin.y + 140);  // inside the window pane
    headless::MouseUp(origin.x + 500, origin.y + 140);
    headless::RunUntilIdle();

    bool ok = true;
    for (size_t i = 0; i < std::size(clicks); ++i) {
        COLORREF got = headless::PixelAt(canvas, clicks[i].x, clicks[i].y);
        if (got != kColours[i]) {
            std::fprintf(stderr, "platform-demo: region at (%ld, %ld) is %06lx, expected %06lx\n",
                         long(clicks[i].x), long(clicks[i].y), static_cast<unsigned long>(got),
                         static_cast<unsigned long>(kColours[i]));
            ok = false;
        }
    }
    if (headless::PixelAt(canvas, 100, 140) != RGB(255, 255, 255)) {
        std::fprintf(stderr,
                     "platform-demo: a release outside the canvas filled the window pane\n");
        ok = false;
    }

    headless::Image shot;
    if (!headless::ReadPixels(frame, &shot, false) || !headless::SaveBmp(shot, out)) {
        std::fprintf(stderr, "platform-demo: cannot write %s\n", out.c_str());
        ok = false;
    } else {
        std::printf(
            "platform-demo: ran headless, clicked %zu regions;\n"
            "screenshot written to %s\n",
            std::size(clicks), out.c_str());
    }
    DestroyWindow(frame);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return ok ? 0 : 1;
}

}  // namespace

// In a real window the demo runs SDL's video with Xlib's dlopen'ed modules,
// whose allocations the leak checker cannot attribute, and its stop-the-world
// pass at exit can crash among the display threads. Leaks of the layer are
// checked by the test binaries; this only affects sanitizer builds.
extern "C" const char* __lsan_default_options() { return "detect_leaks=0"; }

int main(int argc, char** argv) {
    bool scripted = false;
    for (int i = 1; i < argc; ++i) scripted = scripted || std::strcmp(argv[i], "--headless") == 0;
    if (!win::StartDisplay(argc, argv)) return 1;
    std::string out = DefaultScreenshotPath();
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) {
            out = argv[++i];
        } else {
            std::fprintf(stderr, "usage: %s [--headless [--out screenshot.bmp]]\n", argv[0]);
            return 2;
        }
    }
    if (!Register()) {
        std::fprintf(stderr, "platform-demo: cannot register the window classes\n");
        return 1;
    }
    const int frameX = 100, frameY = 80;
    HWND frame = CreateWindowExA(
        0, "DemoFrame", "Tintorama layer demo", WS_POPUP | WS_CAPTION | WS_VISIBLE, frameX, frameY,
        kCanvasWidth + 42, kCanvasHeight + 42, nullptr, nullptr, nullptr, nullptr);
    HWND canvas =
        CreateWindowExA(0, "DemoCanvas", "", WS_CHILD | WS_VISIBLE, 20, 20, kCanvasWidth,
                        kCanvasHeight, frame, reinterpret_cast<HMENU>(1), nullptr, nullptr);
    if (!frame || !canvas) {
        std::fprintf(stderr, "platform-demo: cannot create the windows\n");
        return 1;
    }
    if (scripted) return RunScripted(frame, canvas, out);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
