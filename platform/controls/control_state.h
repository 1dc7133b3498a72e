// Per-window state of a control, created on WM_NCCREATE and freed on
// WM_NCDESTROY. Controls live on the user-interface thread; the lock only
// keeps a stray call from another thread from corrupting the table.
#pragma once
#include <windows.h>

#include <memory>
#include <mutex>
#include <unordered_map>

namespace win::controls {

template <class State>
class StateTable {
public:
    State* Find(HWND hwnd) {
        std::lock_guard<std::mutex> guard(lock_);
        auto it = table_.find(hwnd);
        return it == table_.end() ? nullptr : it->second.get();
    }
    State* Create(HWND hwnd) {
        std::lock_guard<std::mutex> guard(lock_);
        auto& slot = table_[hwnd];
        slot = std::make_unique<State>();
        return slot.get();
    }
    void Erase(HWND hwnd) {
        std::unique_ptr<State> gone;
        std::lock_guard<std::mutex> guard(lock_);
        auto it = table_.find(hwnd);
        if (it == table_.end()) return;
        gone = std::move(it->second);
        table_.erase(it);
    }

private:
    std::mutex lock_;
    std::unordered_map<HWND, std::unique_ptr<State>> table_;
};

}  // namespace win::controls
