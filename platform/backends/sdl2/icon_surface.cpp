#include "icon_surface.h"

namespace win::sdl {

SDL_Surface* IconSurface(const icons::IconObject& icon) {
    if (icon.width <= 0 || icon.height <= 0) return nullptr;
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormat(0, icon.width, icon.height, 32, SDL_PIXELFORMAT_ARGB8888);
    if (!surface) return nullptr;
    SDL_LockSurface(surface);
    for (int y = 0; y < icon.height; ++y) {
        auto* row =
            reinterpret_cast<Uint32*>(static_cast<Uint8*>(surface->pixels) + y * surface->pitch);
        for (int x = 0; x < icon.width; ++x) {
            uint32_t p = icon.At(x, y);
            if (!icon.hasAlpha) {
                const bool masked = icon.mask[size_t(y) * icon.width + x] != 0;
                const uint32_t rgb = p & 0xFFFFFF;
                p = masked ? (rgb ? 0xFF000000u : 0u) : (0xFF000000u | rgb);
            }
            row[x] = p;
        }
    }
    SDL_UnlockSurface(surface);
    return surface;
}

int SystemCursorFor(int systemId) {
    switch (systemId) {
        case 32512: return SDL_SYSTEM_CURSOR_ARROW;
        case 32513: return SDL_SYSTEM_CURSOR_IBEAM;
        case 32514: return SDL_SYSTEM_CURSOR_WAIT;
        case 32515: return SDL_SYSTEM_CURSOR_CROSSHAIR;
        case 32646: return SDL_SYSTEM_CURSOR_SIZEALL;
        case 32648: return SDL_SYSTEM_CURSOR_NO;
        case 32649: return SDL_SYSTEM_CURSOR_HAND;
        default: return -1;
    }
}

}  // namespace win::sdl
