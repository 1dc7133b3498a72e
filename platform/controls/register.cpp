#include <mutex>

#include "controls/controls.h"
#include "core/startup.h"

namespace win::controls {

void RegisterControlClasses() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct Entry {
            const char* name;
            WNDPROC proc;
            UINT style;
        };
        const Entry entries[] = {
            {"BUTTON", ButtonWindowProc(), CS_DBLCLKS | CS_PARENTDC},
            {"STATIC", StaticWindowProc(), CS_PARENTDC},
            {"LISTBOX", ListBoxWindowProc(), CS_DBLCLKS | CS_PARENTDC},
            {"ComboLBox", ListBoxWindowProc(), CS_DBLCLKS | CS_SAVEBITS},
            {"COMBOBOX", ComboBoxWindowProc(), CS_DBLCLKS | CS_PARENTDC},
            {"EDIT", EditWindowProc(), CS_DBLCLKS | CS_PARENTDC},
            {TOOLTIPS_CLASSA, ToolTipWindowProc(), CS_SAVEBITS},
        };
        for (const Entry& e : entries) {
            WNDCLASSA wc{};
            wc.style = e.style | CS_GLOBALCLASS;
            wc.lpfnWndProc = e.proc;
            wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
            wc.lpszClassName = e.name;
            RegisterClassA(&wc);
        }
    });
}

}  // namespace win::controls

// The window core registers the classes before its first window through its
// start-up hook. The build keeps this object in every program linking the
// controls (see platform/CMakeLists.txt).
extern "C" const bool tinto_controls_hooked =
    (win::core::AddStartupHook(&win::controls::RegisterControlClasses), true);
