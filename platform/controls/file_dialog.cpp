// The save-as dialog behind GetSaveFileNameA (and the open dialog behind
// GetOpenFileNameA): a folder list with ".." to go up, a file name box and
// the type combo built from lpstrFilter. Paths use '/'. It starts in the
// folder of the last file it gave the program during this run, else in
// lpstrInitialDir, else in the user's pictures folder (user_folders.h), else
// home.
#include <dirent.h>
#include <fnmatch.h>
#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "controls/controls.h"
#include "user_folders.h"

namespace win::controls {
namespace {

constexpr const char* kClass = "TintoFileDialog";
enum { kFolderLabel = 1001, kList = 1120, kName = 1152, kTypes = 1136 };

thread_local DWORD lastError = 0;

struct Filter {
    std::string description;
    std::vector<std::string> patterns;
};

struct DialogState {
    OPENFILENAMEA* ofn = nullptr;
    bool save = true;
    std::vector<Filter> filters;
    std::string folder;
    std::vector<std::pair<std::string, bool>> entries;  // name, is folder
    bool done = false;
    bool accepted = false;
    std::string result;
    HWND list = nullptr, name = nullptr, types = nullptr, label = nullptr;
};

bool IsDirectory(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}
bool Exists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

std::string Join(const std::string& folder, const std::string& name) {
    if (!name.empty() && name[0] == '/') return name;
    return folder == "/" ? "/" + name : folder + "/" + name;
}

std::string Parent(const std::string& folder) {
    size_t slash = folder.find_last_of('/');
    if (slash == std::string::npos || slash == 0) return "/";
    return folder.substr(0, slash);
}

std::vector<Filter> ParseFilters(const char* list) {
    std::vector<Filter> out;
    // Pairs of NUL-terminated strings, ended by an empty string; bounded so a
    // malformed list cannot run away.
    for (int pairs = 0; list && *list && pairs < 64; ++pairs) {
        Filter f;
        f.description = list;
        list += std::strlen(list) + 1;
        std::string patterns = list;
        list += std::strlen(list) + 1;
        size_t start = 0;
        while (start <= patterns.size()) {
            size_t end = patterns.find(';', start);
            if (end == std::string::npos) end = patterns.size();
            if (end > start) f.patterns.push_back(patterns.substr(start, end - start));
            start = end + 1;
        }
        out.push_back(std::move(f));
    }
    if (out.empty()) out.push_back({"All Files", {"*"}});
    return out;
}

std::string StartFolder(const OPENFILENAMEA* ofn) {
    const std::string last = LastFileDialogFolder();
    if (!last.empty() && IsDirectory(last)) return last;
    // The caller's own folder (one it remembered from an earlier run, say),
    // then the pictures folder, which falls back to home.
    if (ofn->lpstrInitialDir && IsDirectory(ofn->lpstrInitialDir)) return ofn->lpstrInitialDir;
    const char* home = std::getenv("HOME");
    const std::string pictures = UserPicturesFolder();
    if (IsDirectory(pictures) && !(home && pictures == home)) return pictures;
    if (home && IsDirectory(home)) return home;
    return "/";
}

void Fill(DialogState* st) {
    st->entries.clear();
    int typeIndex = std::max(0, int(SendMessageA(st->types, CB_GETCURSEL, 0, 0)));
    const Filter& filter =
        st->filters[size_t(std::min<int>(typeIndex, int(st->filters.size()) - 1))];
    std::vector<std::pair<std::string, bool>> found;
    if (DIR* dir = opendir(st->folder.c_str())) {
        while (dirent* e = readdir(dir)) {
            std::string n = e->d_name;
            if (n.empty() || n[0] == '.') continue;
            bool folder = IsDirectory(Join(st->folder, n));
            bool match = folder;
            for (auto& p : filter.patterns)
                match = match || fnmatch(p.c_str(), n.c_str(), FNM_CASEFOLD) == 0;
            if (match) found.emplace_back(n, folder);
            if (found.size() > 20000) break;
        }
        closedir(dir);
    }
    std::sort(found.begin(), found.end(), [](auto& a, auto& b) {
        if (a.second != b.second) return a.second;
        return strcasecmp(a.first.c_str(), b.first.c_str()) < 0;
    });
    if (st->folder != "/") st->entries.emplace_back("..", true);
    st->entries.insert(st->entries.end(), found.begin(), found.end());
    SendMessageA(st->list, LB_RESETCONTENT, 0, 0);
    for (auto& [n, folder] : st->entries) {
        std::string shown = folder ? "[" + n + "]" : n;
        SendMessageA(st->list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.c_str()));
    }
    SetWindowTextA(st->label, st->folder.c_str());
}

void Navigate(DialogState* st, const std::string& folder) {
    st->folder =
        folder.size() > 1 && folder.back() == '/' ? folder.substr(0, folder.size() - 1) : folder;
    Fill(st);
}

std::string NameText(HWND edit) {
    char buffer[1024] = {};
    GetWindowTextA(edit, buffer, sizeof buffer);
    std::string s = buffer;
    std::replace(s.begin(), s.end(), '\\', '/');
    while (!s.empty() && s.back() == ' ') s.pop_back();
    while (!s.empty() && s.front() == ' ') s.erase(0, 1);
    return s;
}

// The OK button: a folder opens; a file name is checked and accepted.
void Accept(HWND dialog, DialogState* st) {
    std::string name = NameText(st->name);
    if (name.empty()) return;
    std::string path = Join(st->folder, name);
    if (name == ".." || IsDirectory(path)) {
        Navigate(st, name == ".." ? Parent(st->folder) : path);
        SetWindowTextA(st->name, "");
        return;
    }
    const OPENFILENAMEA* ofn = st->ofn;
    size_t slash = path.find_last_of('/');
    std::string base = path.substr(slash + 1);
    if (st->save && ofn->lpstrDefExt && *ofn->lpstrDefExt && base.find('.') == std::string::npos)
        path += std::string(".") + ofn->lpstrDefExt;
    if ((ofn->Flags & OFN_PATHMUSTEXIST) &&
        !IsDirectory(path.substr(0, std::max<size_t>(slash, 1)))) {
        MessageBoxA(dialog, (path.substr(0, slash) + "\nThe path does not exist.").c_str(),
                    st->save ? "Save As" : "Open", MB_OK | MB_ICONWARNING);
        return;
    }
    if (!st->save && (ofn->Flags & OFN_FILEMUSTEXIST) && !Exists(path)) {
        MessageBoxA(dialog, (path + "\nFile not found.").c_str(), "Open", MB_OK | MB_ICONWARNING);
        return;
    }
    if (st->save && (ofn->Flags & OFN_OVERWRITEPROMPT) && Exists(path)) {
        std::string question =
            path.substr(slash + 1) + " already exists.\nDo you want to replace it?";
        if (MessageBoxA(dialog, question.c_str(), "Confirm Save As", MB_YESNO | MB_ICONWARNING) !=
            IDYES)
            return;
    }
    st->result = path;
    st->accepted = true;
    st->done = true;
    PostMessageA(dialog, WM_NULL, 0, 0);
}

void ListChosen(HWND dialog, DialogState* st, bool open) {
    int i = int(SendMessageA(st->list, LB_GETCURSEL, 0, 0));
    if (i < 0 || size_t(i) >= st->entries.size()) return;
    auto [n, folder] = st->entries[size_t(i)];
    if (folder) {
        if (open) Navigate(st, n == ".." ? Parent(st->folder) : Join(st->folder, n));
        return;
    }
    SetWindowTextA(st->name, n.c_str());
    if (open) Accept(dialog, st);
}

LRESULT CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* st = reinterpret_cast<DialogState*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (st && message == WM_COMMAND) {
        int id = LOWORD(wParam), code = HIWORD(wParam);
        if (id == IDOK && code == BN_CLICKED) Accept(hwnd, st);
        if (id == IDCANCEL && code == BN_CLICKED) {
            st->done = true;
            PostMessageA(hwnd, WM_NULL, 0, 0);
        }
        if (id == kList && code == LBN_SELCHANGE) ListChosen(hwnd, st, false);
        if (id == kList && code == LBN_DBLCLK) ListChosen(hwnd, st, true);
        if (id == kTypes && code == CBN_SELCHANGE) Fill(st);
        return 0;
    }
    if (st && message == WM_CLOSE) {
        st->done = true;
        PostMessageA(hwnd, WM_NULL, 0, 0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND Make(HWND dialog, const char* cls, const char* text, DWORD style, int id, int x, int y, int w,
          int h) {
    HWND c = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, dialog,
                             reinterpret_cast<HMENU>(INT_PTR(id)), nullptr, nullptr);
    SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return c;
}

bool Deliver(DialogState* st) {
    OPENFILENAMEA* ofn = st->ofn;
    const std::string& path = st->result;
    if (!ofn->lpstrFile || ofn->nMaxFile <= path.size()) {
        if (ofn->lpstrFile && ofn->nMaxFile >= 2) {
            // The size needed, in the first two bytes, as on Windows.
            WORD need = WORD(std::min<size_t>(path.size() + 1, 0xFFFF));
            std::memcpy(ofn->lpstrFile, &need, sizeof need);
        }
        lastError = FNERR_BUFFERTOOSMALL;
        return false;
    }
    std::memcpy(ofn->lpstrFile, path.c_str(), path.size() + 1);
    size_t slash = path.find_last_of('/');
    RememberFileDialogFolder(slash == 0 ? "/" : path.substr(0, slash));
    ofn->nFileOffset = WORD(slash + 1);
    size_t dot = path.find_last_of('.');
    ofn->nFileExtension = WORD(dot != std::string::npos && dot > slash ? dot + 1 : path.size());
    if (ofn->lpstrFileTitle && ofn->nMaxFileTitle > 0) {
        std::string title = path.substr(slash + 1);
        size_t n = std::min<size_t>(title.size(), ofn->nMaxFileTitle - 1);
        std::memcpy(ofn->lpstrFileTitle, title.data(), n);
        ofn->lpstrFileTitle[n] = '\0';
    }
    ofn->nFilterIndex = DWORD(SendMessageA(st->types, CB_GETCURSEL, 0, 0) + 1);
    return true;
}

BOOL RunFileDialog(OPENFILENAMEA* ofn, bool save) {
    lastError = 0;
    if (!ofn || ofn->lStructSize < offsetof(OPENFILENAMEA, pvReserved)) {
        lastError = CDERR_STRUCTSIZE;
        return FALSE;
    }
    RegisterControlClasses();
    static std::once_flag once;
    std::call_once(once, [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DialogProc;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(INT_PTR(COLOR_BTNFACE + 1));
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = kClass;
        RegisterClassA(&wc);
    });
    DialogState st;
    st.ofn = ofn;
    st.save = save;
    st.filters = ParseFilters(ofn->lpstrFilter);
    st.folder = StartFolder(ofn);

    const int width = 430, height = 300;
    HWND root = ofn->hwndOwner ? GetAncestor(ofn->hwndOwner, GA_ROOT) : nullptr;
    RECT around{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (root) GetWindowRect(root, &around);
    const char* title = ofn->lpstrTitle ? ofn->lpstrTitle : save ? "Save As" : "Open";
    HWND dialog = CreateWindowExA(WS_EX_DLGMODALFRAME, kClass, title, WS_POPUP | WS_BORDER,
                                  std::max<int>(0, (around.left + around.right - width) / 2),
                                  std::max<int>(0, (around.top + around.bottom - height) / 2),
                                  width, height, root, nullptr, nullptr, &st);
    if (!dialog) {
        lastError = CDERR_INITIALIZATION;
        return FALSE;
    }
    Make(dialog, "STATIC", save ? "Save in:" : "Look in:", SS_LEFT, -1, 10, 12, 70, 16);
    st.label = Make(dialog, "STATIC", "", SS_LEFT | SS_NOPREFIX, kFolderLabel, 85, 12, 330, 16);
    st.list = Make(dialog, "LISTBOX", "", WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY, kList,
                   10, 34, 405, 170);
    Make(dialog, "STATIC", "File name:", SS_LEFT, -1, 10, 216, 80, 16);
    st.name =
        Make(dialog, "EDIT", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, kName, 95, 212, 230, 22);
    Make(dialog, "STATIC", save ? "Save as type:" : "Files of type:", SS_LEFT, -1, 10, 248, 80, 16);
    st.types = Make(dialog, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, kTypes, 95,
                    244, 230, 150);
    Make(dialog, "BUTTON", save ? "&Save" : "&Open", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, 335, 211,
         80, 24);
    Make(dialog, "BUTTON", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, 335, 243, 80, 24);
    for (auto& f : st.filters)
        SendMessageA(st.types, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f.description.c_str()));
    int typeIndex = ofn->nFilterIndex ? int(ofn->nFilterIndex) - 1 : 0;
    if (SendMessageA(st.types, CB_SETCURSEL, WPARAM(typeIndex), 0) == CB_ERR)
        SendMessageA(st.types, CB_SETCURSEL, 0, 0);
    if (ofn->lpstrFile && ofn->nMaxFile > 0) {
        // A proposed name, without the folder part.
        std::string proposed(ofn->lpstrFile, strnlen(ofn->lpstrFile, ofn->nMaxFile));
        std::replace(proposed.begin(), proposed.end(), '\\', '/');
        SetWindowTextA(st.name, proposed.substr(proposed.find_last_of('/') + 1).c_str());
    }
    Navigate(&st, st.folder);

    bool disabledOwner = root && IsWindowEnabled(root);
    if (disabledOwner) EnableWindow(root, FALSE);
    ShowWindow(dialog, SW_SHOW);
    SetActiveWindow(dialog);
    SetFocus(st.name);
    MSG msg;
    while (!st.done && IsWindow(dialog)) {
        if (!GetMessageA(&msg, nullptr, 0, 0)) {
            PostQuitMessage(int(msg.wParam));
            break;
        }
        if (msg.message == WM_KEYDOWN && (msg.hwnd == dialog || IsChild(dialog, msg.hwnd))) {
            if (msg.wParam == VK_RETURN) {
                if (msg.hwnd == st.list)
                    ListChosen(dialog, &st, true);
                else if (msg.hwnd != st.types)
                    Accept(dialog, &st);
                continue;
            }
            if (msg.wParam == VK_ESCAPE) {
                st.done = true;
                continue;
            }
            if (msg.wParam == VK_TAB) {
                HWND next = GetNextDlgTabItem(dialog, GetFocus(), GetKeyState(VK_SHIFT) < 0);
                if (next) SetFocus(next);
                continue;
            }
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (disabledOwner) EnableWindow(root, TRUE);
    if (IsWindow(dialog)) DestroyWindow(dialog);
    if (root && IsWindow(root)) SetActiveWindow(root);
    return st.accepted && Deliver(&st) ? TRUE : FALSE;
}

}  // namespace
}  // namespace win::controls

BOOL WINAPI GetSaveFileNameA(LPOPENFILENAMEA ofn) {
    return win::controls::RunFileDialog(ofn, true);
}
BOOL WINAPI GetOpenFileNameA(LPOPENFILENAMEA ofn) {
    return win::controls::RunFileDialog(ofn, false);
}
DWORD WINAPI CommDlgExtendedError(void) { return win::controls::lastError; }
