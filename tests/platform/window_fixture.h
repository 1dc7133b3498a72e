// Shared set-up of the window core's tests: two window classes whose
// procedure records what it receives, and a fixture that cleans up.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "backends/headless/headless.h"
#include "support/message_recorder.h"

using Seen = test_support::SeenMessage;

class WindowTest : public ::testing::Test {
protected:
    static constexpr const char* kPlain = "TestPlain";     // no CS_DBLCLKS
    static constexpr const char* kDouble = "TestDblClks";  // CS_DBLCLKS

    void SetUp() override;
    void TearDown() override;

    HWND Top(int x, int y, int w, int h, DWORD style = WS_POPUP | WS_VISIBLE,
             const char* cls = kPlain, const char* title = "top");
    HWND Child(HWND parent, int id, int x, int y, int w, int h, DWORD style = WS_CHILD | WS_VISIBLE,
               const char* cls = kPlain);

    // Messages seen, optionally only of one kind, in order.
    std::vector<Seen> Of(UINT message) const;
    std::vector<HWND> WindowsThatGot(UINT message) const;
    void Forget() { seen().clear(); }
    void Pump() { headless::RunUntilIdle(); }

public:
    static test_support::MessageRecorder& recorder();
    static std::vector<Seen>& seen() { return recorder().All(); }
    static LRESULT CALLBACK Record(HWND, UINT, WPARAM, LPARAM);

private:
    std::vector<HWND> created_;
};
