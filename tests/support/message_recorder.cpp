#include "support/message_recorder.h"

#include <algorithm>

namespace test_support {

std::vector<SeenMessage> MessageRecorder::Of(UINT message) const {
    std::vector<SeenMessage> out;
    for (const SeenMessage& s : seen_)
        if (s.message == message) out.push_back(s);
    return out;
}

std::vector<HWND> MessageRecorder::WindowsThatGot(UINT message) const {
    std::vector<HWND> out;
    for (const SeenMessage& s : seen_)
        if (s.message == message) out.push_back(s.hwnd);
    return out;
}

std::vector<UINT> MessageRecorder::CodesOf(HWND hwnd, const std::vector<UINT>& only) const {
    std::vector<UINT> out;
    for (const SeenMessage& s : seen_) {
        if (s.hwnd != hwnd) continue;
        if (!only.empty() && std::find(only.begin(), only.end(), s.message) == only.end()) continue;
        out.push_back(s.message);
    }
    return out;
}

}  // namespace test_support
