// Dialog templates, parsed from their resource bytes into the values CDialog
// builds a dialog from. Rectangles stay in dialog units; class names of the
// predefined controls are given by name ("Button", "Static", ...).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "win/types.h"

namespace win::res {

struct DialogItemTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    DWORD helpId = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    int id = 0;  // IDC_STATIC (-1) stays negative
    std::string className;
    // The text, or for an icon control the resource it names: textId when
    // the template gives an ordinal (then text is empty).
    std::string text;
    int textId = -1;
    std::vector<uint8_t> creationData;
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    DWORD helpId = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::string menu;  // empty: none; menuId >= 0 when an ordinal
    int menuId = -1;
    std::string className;  // empty: the dialog class
    std::string title;
    bool hasFont = false;  // DS_SETFONT
    int pointSize = 0;
    int weight = 0;
    bool italic = false;
    int charSet = 0;
    std::string faceName;
    std::vector<DialogItemTemplate> items;
};

// Parses a template in the extended format (the one the resource compiler
// writes) or the classic one. Returns false for anything malformed or
// truncated; never reads outside [data, data + size).
bool ParseDialogTemplate(const void* data, size_t size, DialogTemplate& out);

// Finds RT_DIALOG `name` among the executable's resources and parses it.
bool LoadDialogTemplate(LPCSTR name, DialogTemplate& out);

}  // namespace win::res
