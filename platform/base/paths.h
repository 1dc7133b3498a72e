// Paths written the Windows way (backslashes) made native.
#pragma once
#include <string>

namespace win {

// The path with every '\' turned into '/'. A null path gives "".
std::string NativePath(const char* path);

}  // namespace win
