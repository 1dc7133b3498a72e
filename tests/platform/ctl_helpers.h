// Shared set-up of the control tests: a top-level parent at a known screen
// place that records the notifications its controls send it.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "backends/headless/headless.h"

struct Notification {
    int id;
    int code;
};

class ControlTest : public ::testing::Test {
protected:
    static constexpr int kLeft = 100, kTop = 100;  // parent's client origin on screen

    void SetUp() override;
    void TearDown() override;

    HWND Control(const char* cls, const char* text, DWORD style, int id, int x, int y, int w,
                 int h);
    // Screen point of a client point of `hwnd`.
    POINT Screen(HWND hwnd, int x, int y);
    void ClickAt(HWND hwnd, int x, int y);
    void Pump() { headless::RunUntilIdle(); }
    // Notification codes received from control `id`, in order.
    std::vector<int> Codes(int id) const;

public:
    static std::vector<Notification> notifications;
    static std::vector<UINT> drawStates;  // itemState of each WM_DRAWITEM
    static LRESULT CALLBACK ParentProc(HWND, UINT, WPARAM, LPARAM);

    HWND parent = nullptr;
};
