// Eight-bit strings of the program are Windows-1252; these helpers give
// their Unicode code points and back.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace text {

// The code point of one Windows-1252 byte. The five bytes that code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of
// the same value, as Windows does.
char32_t DecodeCp1252(unsigned char byte);

// The Windows-1252 byte of a code point, or '?' when it has none.
char EncodeCp1252(char32_t code);

// UTF-16 code units to a Windows-1252 string (surrogate pairs become '?').
std::string Utf16ToCp1252(const std::u16string& units);

}  // namespace text
