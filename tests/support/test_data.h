// The data the suites carry with them, in tests/data/ of the source tree.
#pragma once
#include <string>

namespace test_support {

// A file of tests/data/mpeg/: the MPEG conformance streams and their
// reference output, for example MpegTestData("l3-si.bit").
inline std::string MpegTestData(const std::string& name) {
    return std::string(TINTO_TESTDATA_DIR) + "/mpeg/" + name;
}

}  // namespace test_support
