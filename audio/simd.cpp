// The active vector path: a process-wide setting read once per call of a
// transform, so a switch takes effect at the next slot.
#include "audio/simd.h"

#include <atomic>

namespace audio {

namespace {

std::atomic<simd_path>& active() {
    static std::atomic<simd_path> path{simd_best()};
    return path;
}

}  // namespace

const char* simd_path_name(simd_path p) {
    switch (p) {
        case simd_path::portable: return "portable";
        case simd_path::sse2: return "sse2";
        case simd_path::avx2: return "avx2";
    }
    return "unknown";
}

bool simd_supported(simd_path p) {
    switch (p) {
        case simd_path::portable: return true;
#if defined(__x86_64__)
        case simd_path::sse2: return true;
        case simd_path::avx2:
            __builtin_cpu_init();  // may run before the constructors that do it
            return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
#endif
        default: return false;
    }
}

simd_path simd_best() {
    if (simd_supported(simd_path::avx2)) return simd_path::avx2;
    if (simd_supported(simd_path::sse2)) return simd_path::sse2;
    return simd_path::portable;
}

bool simd_select(simd_path p) {
    if (!simd_supported(p)) return false;
    active().store(p, std::memory_order_relaxed);
    return true;
}

simd_path simd_active() { return active().load(std::memory_order_relaxed); }

}  // namespace audio
