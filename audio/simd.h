// Which vector instructions the decoder's transforms use. The best path the
// processor offers is chosen once at start; tests switch paths to check each.
#pragma once

namespace audio {

enum class simd_path {
    portable,  // plain C++, for any processor
    sse2,      // four wide, always present on x86-64
    avx2,      // eight wide with fused multiply-add, where the processor has it
};

constexpr int simd_path_count = 3;

const char* simd_path_name(simd_path p);
// Whether this build and this processor can run the path.
bool simd_supported(simd_path p);
// The fastest supported path.
simd_path simd_best();
// Makes p the active path for every decoder in the process; false (and no
// change) when p is not supported. Meant for start-up and tests: call it
// while no decoder is running.
bool simd_select(simd_path p);
simd_path simd_active();

}  // namespace audio
