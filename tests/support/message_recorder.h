// Records the messages windows receive, in order, for tests of the window
// core, the dialogs and the controls: a window procedure (or a subclass)
// calls Record and the test looks at the sequence afterwards.
#pragma once
#include <windows.h>

#include <vector>

namespace test_support {

struct SeenMessage {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class MessageRecorder {
public:
    void Record(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        seen_.push_back({hwnd, message, wParam, lParam});
    }
    void Clear() { seen_.clear(); }

    const std::vector<SeenMessage>& All() const { return seen_; }
    std::vector<SeenMessage>& All() { return seen_; }
    // The messages of one kind, in order.
    std::vector<SeenMessage> Of(UINT message) const;
    // The windows that got a kind of message, in order.
    std::vector<HWND> WindowsThatGot(UINT message) const;
    // The codes one window got, in order; with `only` non-empty, just those.
    std::vector<UINT> CodesOf(HWND hwnd, const std::vector<UINT>& only = {}) const;

private:
    std::vector<SeenMessage> seen_;
};

}  // namespace test_support
