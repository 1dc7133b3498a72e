// Little-endian field access for the codecs: every on-disk structure is
// read and written byte by byte, whatever the host's byte order.
#pragma once
#include <cstdint>

inline uint16_t PixGet16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }

inline uint32_t PixGet32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

inline void PixPut16(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

inline void PixPut32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}
