// Answers every message box that comes up on this thread while the catcher
// lives, and records what each one showed. It hooks the headless backend's
// idle handler, so a box is answered from inside its own nested loop, the
// way a user would close it.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "backends/headless/headless.h"

struct ShownBox {
    std::string caption;
    std::string text;
    HWND owner = nullptr;
    bool topmost = false;
    bool errorIcon = false;  // the red disc of MB_ICONERROR is drawn
};

class MessageBoxCatcher {
public:
    MessageBoxCatcher() {
        headless::SetIdleHandler([this] { return AnswerOne(); });
    }
    ~MessageBoxCatcher() { headless::SetIdleHandler(nullptr); }
    MessageBoxCatcher(const MessageBoxCatcher&) = delete;
    MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;

    std::vector<ShownBox> boxes;
    // Runs while each box is up, before it is answered.
    std::function<void(HWND)> whileUp;

private:
    static std::string TextOf(HWND hwnd) {
        char buffer[1024] = {};
        GetWindowTextA(hwnd, buffer, sizeof buffer);
        return buffer;
    }

    static bool HasRedDisc(HWND box) {
        UpdateWindow(box);
        headless::Image image;
        if (!headless::ReadPixels(box, &image)) return false;
        int red = 0;
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                if (image.At(x, y) == RGB(255, 0, 0)) ++red;
        return red > 50;
    }

    bool AnswerOne() {
        for (const headless::TopLevel& t : headless::TopLevelWindows()) {
            if (!t.visible || t.className != headless::kMessageBoxClass) continue;
            ShownBox shown;
            shown.caption = TextOf(t.hwnd);
            shown.text = TextOf(GetDlgItem(t.hwnd, 0xFFFF));
            shown.owner = GetWindow(t.hwnd, GW_OWNER);
            shown.topmost = (GetWindowLongPtrA(t.hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
            shown.errorIcon = HasRedDisc(t.hwnd);
            boxes.push_back(shown);
            if (whileUp) whileUp(t.hwnd);
            SendMessageA(GetDlgItem(t.hwnd, IDOK), BM_CLICK, 0, 0);
            return true;
        }
        return false;
    }
};
