#include "base/paths.h"

#include <algorithm>

namespace win {

std::string NativePath(const char* path) {
    if (!path) return std::string();
    std::string native(path);
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
}

}  // namespace win
