#include "text/cp1252.h"

namespace text {
namespace {

// Code points of 0x80..0x9F; the rest of the page equals Latin-1.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

char32_t DecodeCp1252(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) return kHigh[byte - 0x80];
    return byte;
}

char EncodeCp1252(char32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<char>(code);
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == code) return static_cast<char>(0x80 + i);
    }
    return '?';
}

std::string Utf16ToCp1252(const std::u16string& units) {
    std::string out;
    out.reserve(units.size());
    for (char16_t u : units) out += EncodeCp1252(u >= 0xD800 && u < 0xE000 ? U'?' : char32_t(u));
    return out;
}

}  // namespace text
