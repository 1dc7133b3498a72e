// The choice of vector path: what the processor lacks is refused and changes
// nothing; what it has becomes active for every caller.
#include <gtest/gtest.h>

#include "audio/simd.h"
#include "decoder_support.h"

using decoder_test::all_paths;
using decoder_test::path_scope;

TEST(SimdPaths, BestIsSupportedAndPortableAlwaysIs) {
    EXPECT_TRUE(simd_supported(simd_path::portable));
    EXPECT_TRUE(simd_supported(simd_best()));
#if defined(__x86_64__)
    EXPECT_TRUE(simd_supported(simd_path::sse2));
    EXPECT_NE(simd_best(), simd_path::portable);
#endif
}

TEST(SimdPaths, SelectingSwitchesOrRefusesWithoutChange) {
    path_scope keep(simd_active());  // puts the path back afterwards
    for (simd_path p : all_paths) {
        ASSERT_TRUE(simd_select(simd_path::portable));
        bool ok = simd_select(p);
        EXPECT_EQ(ok, simd_supported(p)) << simd_path_name(p);
        EXPECT_EQ(simd_active(), ok ? p : simd_path::portable) << simd_path_name(p);
    }
}

TEST(SimdPaths, ScopeRestoresThePreviousPath) {
    simd_path before = simd_active();
    {
        path_scope scope(simd_path::portable);
        EXPECT_TRUE(scope.ok());
        EXPECT_EQ(simd_active(), simd_path::portable);
    }
    EXPECT_EQ(simd_active(), before);
}
