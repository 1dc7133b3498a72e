#include "resources/strings.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

#include "resources/registry.h"
#include "text/cp1252.h"
#include "win/res.h"

namespace win::res {

std::optional<std::string> LoadStringResource(unsigned id) {
    if (id > 0xFFFF) return std::nullopt;
    const unsigned char* data = nullptr;
    size_t size = 0;
    if (!FindData(MAKEINTRESOURCEA((id >> 4) + 1), RT_STRING, &data, &size)) return std::nullopt;
    size_t offset = 0;
    for (unsigned index = 0; index < 16; ++index) {
        if (offset + 2 > size) return std::nullopt;
        const size_t length = data[offset] | (data[offset + 1] << 8);
        offset += 2;
        if (length > (size - offset) / 2) return std::nullopt;  // truncated block
        if (index == (id & 15)) {
            if (length == 0) return std::nullopt;
            std::u16string units(length, u'\0');
            for (size_t i = 0; i < length; ++i)
                units[i] =
                    static_cast<char16_t>(data[offset + 2 * i] | (data[offset + 2 * i + 1] << 8));
            return text::Utf16ToCp1252(units);
        }
        offset += 2 * length;
    }
    return std::nullopt;
}

}  // namespace win::res

int WINAPI LoadStringA(HINSTANCE, UINT id, LPSTR buffer, int size) {
    if (!buffer || size < 0) return 0;
    std::optional<std::string> text = win::res::LoadStringResource(id);
    if (size == 0) {
        // Windows hands out a pointer to the resource itself; the strings
        // here are converted, so each distinct string is kept once.
        if (!text) return 0;
        static std::mutex lock;
        static std::map<UINT, std::string> kept;
        std::lock_guard<std::mutex> hold(lock);
        const std::string& stored = kept.emplace(id, *text).first->second;
        *reinterpret_cast<LPCSTR*>(buffer) = stored.c_str();
        return static_cast<int>(stored.size());
    }
    if (!text) {
        buffer[0] = '\0';
        return 0;
    }
    const size_t copied = std::min(text->size(), static_cast<size_t>(size - 1));
    std::memcpy(buffer, text->data(), copied);
    buffer[copied] = '\0';
    return static_cast<int>(copied);
}
