#include "key_map.h"

#include <windows.h>

#include <cstdint>

namespace win::sdl {

unsigned VirtualKeyOf(SDL_Keycode key) {
    switch (key) {
        case SDLK_TAB: return VK_TAB;
        case SDLK_RETURN:
        case SDLK_KP_ENTER: return VK_RETURN;
        case SDLK_ESCAPE: return VK_ESCAPE;
        case SDLK_SPACE: return VK_SPACE;
        case SDLK_BACKSPACE: return VK_BACK;
        case SDLK_DELETE: return VK_DELETE;
        case SDLK_LEFT: return VK_LEFT;
        case SDLK_RIGHT: return VK_RIGHT;
        case SDLK_UP: return VK_UP;
        case SDLK_DOWN: return VK_DOWN;
        case SDLK_HOME: return VK_HOME;
        case SDLK_END: return VK_END;
        case SDLK_PAGEUP: return VK_PRIOR;
        case SDLK_PAGEDOWN: return VK_NEXT;
        case SDLK_F1: return VK_F1;
        case SDLK_F4: return VK_F4;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT: return VK_SHIFT;
        case SDLK_LCTRL:
        case SDLK_RCTRL: return VK_CONTROL;
        case SDLK_LALT:
        case SDLK_RALT: return VK_MENU;
        default: return 0;
    }
}

unsigned SystemKeyOf(SDL_Keycode key) {
    if (key == SDLK_SPACE) return VK_SPACE;
    if (key >= SDLK_a && key <= SDLK_z) return unsigned('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9) return unsigned('0' + (key - SDLK_0));
    return 0;
}

namespace {

// Windows-1252 bytes 0x80..0x9F; 0 where the code page has a hole.
constexpr uint16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

int ToWindows1252(uint32_t cp) {
    if (cp < 0x20 || cp == 0x7F) return -1;
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return int(cp);
    for (int i = 0; i < 32; ++i)
        if (kHighControls[i] && kHighControls[i] == cp) return 0x80 + i;
    return -1;
}

}  // namespace

std::string Utf8ToWindows1252(const char* utf8) {
    std::string out;
    if (!utf8) return out;
    auto s = reinterpret_cast<const unsigned char*>(utf8);
    while (*s) {
        unsigned char lead = *s;
        int extra;
        uint32_t cp;
        if (lead < 0x80) {
            extra = 0;
            cp = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            cp = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            cp = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            cp = lead & 0x07;
        } else {
            ++s;  // a stray continuation byte or an invalid lead
            continue;
        }
        int taken = 1;
        bool ok = true;
        for (; taken <= extra; ++taken) {
            if ((s[taken] & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (s[taken] & 0x3F);
        }
        s += taken;  // never past the terminator: it is not a continuation byte
        static constexpr uint32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
        if (!ok || cp < kSmallest[extra]) continue;  // truncated or overlong
        int byte = ToWindows1252(cp);
        if (byte >= 0) out.push_back(char(byte));
    }
    return out;
}

}  // namespace win::sdl
