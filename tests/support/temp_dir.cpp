#include "support/temp_dir.h"

#include <stdlib.h>

#include <stdexcept>
#include <system_error>

namespace test_support {

TempDir::TempDir(const std::string& prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary directory: " + pattern);
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;  // a test that failed half-way may leave anything
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace test_support
