// The suites' entry point: every test process runs in a fresh temporary
// working directory, removed when it ends, so that a test that writes a file
// by a relative name leaves nothing in the tree it was started from.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "support/temp_dir.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    std::error_code error;
    const std::filesystem::path started_in = std::filesystem::current_path(error);
    test_support::TempDir scratch("tinto-cwd");
    if (chdir(scratch.str().c_str()) != 0) {
        std::perror("cannot enter the temporary working directory");
        return 1;
    }
    int result = RUN_ALL_TESTS();
    // Leave before the directory goes, as a shell would.
    if (!started_in.empty() && chdir(started_in.c_str()) != 0) std::perror("chdir back");
    return result;
}
