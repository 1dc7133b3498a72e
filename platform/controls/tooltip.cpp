// "tooltips_class32": accepts its tools and relayed events and shows nothing.
// The program only creates tips; none of its screens depends on seeing one.
#include <vector>

#include "controls/control_state.h"
#include "controls/controls.h"

namespace win::controls {
namespace {

struct ToolTipState {
    std::vector<std::pair<HWND, UINT_PTR>> tools;
    bool active = true;
};

StateTable<ToolTipState>& Tips() {
    static auto* table = new StateTable<ToolTipState>;
    return *table;
}

LRESULT CALLBACK ToolTipProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) Tips().Create(hwnd);
    ToolTipState* st = Tips().Find(hwnd);
    if (!st) return DefWindowProcA(hwnd, message, wParam, lParam);
    auto* info = reinterpret_cast<const TOOLINFOA*>(lParam);
    switch (message) {
        case WM_NCDESTROY: Tips().Erase(hwnd); break;
        case TTM_ACTIVATE: st->active = wParam != 0; return 0;
        case TTM_ADDTOOLA:
            if (!info) return FALSE;
            st->tools.emplace_back(info->hwnd, info->uId);
            return TRUE;
        case TTM_DELTOOLA:
            if (info) std::erase(st->tools, std::pair<HWND, UINT_PTR>(info->hwnd, info->uId));
            return 0;
        case TTM_GETTOOLCOUNT: return LRESULT(st->tools.size());
        case TTM_RELAYEVENT:
        case TTM_SETDELAYTIME:
        case TTM_UPDATETIPTEXTA: return 0;
        case TTM_SETMAXTIPWIDTH: return -1;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

WNDPROC ToolTipWindowProc() { return ToolTipProc; }

}  // namespace win::controls
