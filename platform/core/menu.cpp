// HMENU objects and the calls that build, change and read them.
#include "core/menu.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "base/handle_table.h"

namespace win::menus {
namespace {

std::mutex& Lock() {
    static auto* lock = new std::mutex;
    return *lock;
}

core::HandleTable<Menu>& Table() {
    // Apart from the window, GDI, icon and kernel handle ranges.
    static auto* table = new core::HandleTable<Menu>(0x30000000);
    return *table;
}

// Longest item text kept; longer texts are cut.
constexpr size_t kMaxText = 1024;

// The item named by `position` (MF_BYPOSITION) or by command id; nested
// popups are searched for ids, as Windows does. Caller holds Lock().
MenuItem* Locate(Menu& menu, UINT position, UINT flags, Menu** owner = nullptr,
                 size_t* index = nullptr, int depth = 0) {
    if (flags & MF_BYPOSITION) {
        if (position >= menu.items.size()) return nullptr;
        if (owner) *owner = &menu;
        if (index) *index = position;
        return &menu.items[position];
    }
    for (size_t i = 0; i < menu.items.size(); ++i) {
        MenuItem& item = menu.items[i];
        if (item.flags & MF_POPUP) {
            if (depth >= 8) continue;
            auto sub = Table().Find(reinterpret_cast<const void*>(item.id));
            if (sub)
                if (MenuItem* found = Locate(*sub, position, flags, owner, index, depth + 1))
                    return found;
            continue;
        }
        if (!(item.flags & MF_SEPARATOR) && item.id == position) {
            if (owner) *owner = &menu;
            if (index) *index = i;
            return &item;
        }
    }
    return nullptr;
}

bool MakeItem(UINT flags, UINT_PTR id, LPCSTR text, MenuItem& out) {
    // Bitmap (0x4) and owner-drawn (0x100) items are not supported.
    if (flags & 0x104) return false;
    out.flags =
        flags & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_POPUP | MF_DEFAULT);
    out.id = id;
    if (!(flags & MF_SEPARATOR)) {
        if (flags & MF_POPUP) {
            if (!Table().Find(reinterpret_cast<const void*>(id))) return false;
        } else {
            out.id = id & 0xFFFF;  // command ids are 16 bits
        }
        if (text) out.text.assign(text, strnlen(text, kMaxText));
    } else {
        out.id = 0;
    }
    return true;
}

}  // namespace

bool Snapshot(HMENU handle, std::vector<MenuItem>& items) {
    std::lock_guard<std::mutex> guard(Lock());
    auto menu = Table().Find(handle);
    if (!menu) return false;
    items = menu->items;
    return true;
}

}  // namespace win::menus

using namespace win::menus;

HMENU WINAPI CreatePopupMenu() {
    std::lock_guard<std::mutex> guard(Lock());
    return reinterpret_cast<HMENU>(Table().Add(std::make_shared<Menu>()));
}

HMENU WINAPI CreateMenu() { return CreatePopupMenu(); }

BOOL WINAPI DestroyMenu(HMENU handle) {
    std::vector<HMENU> subs;
    {
        std::lock_guard<std::mutex> guard(Lock());
        auto menu = Table().Find(handle);
        if (!menu) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        for (const MenuItem& item : menu->items)
            if (item.flags & MF_POPUP) subs.push_back(reinterpret_cast<HMENU>(item.id));
        Table().Remove(handle);
    }
    // Submenus belong to their menu and go with it.
    for (HMENU sub : subs) DestroyMenu(sub);
    return TRUE;
}

BOOL WINAPI IsMenu(HMENU handle) {
    std::lock_guard<std::mutex> guard(Lock());
    return Table().Find(handle) != nullptr;
}

BOOL WINAPI InsertMenuA(HMENU handle, UINT position, UINT flags, UINT_PTR id, LPCSTR text) {
    std::lock_guard<std::mutex> guard(Lock());
    auto menu = Table().Find(handle);
    MenuItem item;
    if (!menu || !MakeItem(flags, id, text, item) ||
        (item.flags & MF_POPUP && reinterpret_cast<HMENU>(item.id) == handle)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Menu* owner = menu.get();
    size_t index = menu->items.size();
    if (position != UINT(-1) && !Locate(*menu, position, flags, &owner, &index)) {
        // Windows appends when the position is not found.
        owner = menu.get();
        index = menu->items.size();
    }
    owner->items.insert(owner->items.begin() + ptrdiff_t(index), std::move(item));
    return TRUE;
}

BOOL WINAPI AppendMenuA(HMENU handle, UINT flags, UINT_PTR id, LPCSTR text) {
    return InsertMenuA(handle, UINT(-1), flags & ~MF_BYPOSITION, id, text);
}

BOOL WINAPI RemoveMenu(HMENU handle, UINT position, UINT flags) {
    std::lock_guard<std::mutex> guard(Lock());
    auto menu = Table().Find(handle);
    Menu* owner = nullptr;
    size_t index = 0;
    if (!menu || !Locate(*menu, position, flags, &owner, &index)) return FALSE;
    owner->items.erase(owner->items.begin() + ptrdiff_t(index));
    return TRUE;
}

BOOL WINAPI DeleteMenu(HMENU handle, UINT position, UINT flags) {
    HMENU sub = nullptr;
    {
        std::lock_guard<std::mutex> guard(Lock());
        auto menu = Table().Find(handle);
        Menu* owner = nullptr;
        size_t index = 0;
        MenuItem* item = menu ? Locate(*menu, position, flags, &owner, &index) : nullptr;
        if (!item) return FALSE;
        if (item->flags & MF_POPUP) sub = reinterpret_cast<HMENU>(item->id);
        owner->items.erase(owner->items.begin() + ptrdiff_t(index));
    }
    if (sub) DestroyMenu(sub);
    return TRUE;
}

BOOL WINAPI EnableMenuItem(HMENU handle, UINT id, UINT enable) {
    std::lock_guard<std::mutex> guard(Lock());
    auto menu = Table().Find(handle);
    MenuItem* item = menu ? Locate(*menu, id, enable) : nullptr;
    if (!item) return -1;
    BOOL previous = BOOL(item->flags & (MF_GRAYED | MF_DISABLED));
    item->flags = (item->flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
    return previous;
}

DWORD WINAPI CheckMenuItem(HMENU handle, UINT id, UINT check) {
    std::lock_guard<std::mutex> guard(Lock());
    auto menu = Table().Find(handle);
    MenuItem* item = menu ? Locate(*menu, id, check) : nullptr;
    if (!item) return DWORD(-1);
    DWORD previous = item->flags & MF_CHECKED;
    item->flags = (item->flags & ~MF_CHECKED) | (check & MF_CHECKED);
    return previous;
}

int WINAPI GetMenuItemCount(HMENU handle) {
    std::lock_guard<std::mutex> guard(Lock());
    auto menu = Table().Find(handle);
    if (!menu) {
        SetLastError(ERROR_INVALID_HANDLE);
        return -1;
    }
    return int(menu->items.size());
}

UINT WINAPI GetMenuItemID(HMENU handle, int position) {
    std::lock_guard<std::mutex> guard(Lock());
    auto menu = Table().Find(handle);
    if (!menu || position < 0 || size_t(position) >= menu->items.size()) return UINT(-1);
    const MenuItem& item = menu->items[size_t(position)];
    return item.flags & MF_POPUP ? UINT(-1) : UINT(item.id);
}

UINT WINAPI GetMenuState(HMENU handle, UINT id, UINT flags) {
    std::lock_guard<std::mutex> guard(Lock());
    auto menu = Table().Find(handle);
    MenuItem* item = menu ? Locate(*menu, id, flags) : nullptr;
    if (!item) return UINT(-1);
    return item->flags;
}

int WINAPI GetMenuStringA(HMENU handle, UINT id, LPSTR text, int maxCount, UINT flags) {
    std::lock_guard<std::mutex> guard(Lock());
    auto menu = Table().Find(handle);
    MenuItem* item = menu ? Locate(*menu, id, flags) : nullptr;
    if (!item) return 0;
    if (!text || maxCount <= 0) return int(item->text.size());
    size_t n = std::min(item->text.size(), size_t(maxCount - 1));
    std::memcpy(text, item->text.data(), n);
    text[n] = '\0';
    return int(n);
}

HMENU WINAPI GetSubMenu(HMENU handle, int position) {
    std::lock_guard<std::mutex> guard(Lock());
    auto menu = Table().Find(handle);
    if (!menu || position < 0 || size_t(position) >= menu->items.size()) return nullptr;
    const MenuItem& item = menu->items[size_t(position)];
    return item.flags & MF_POPUP ? reinterpret_cast<HMENU>(item.id) : nullptr;
}
