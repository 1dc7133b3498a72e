// What the real-window tests of the program itself share: where the built
// program is, xdotool, and the geometry of the program's native windows.
#pragma once
#include <limits.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "xvfb_fixture.h"

namespace sdl_test {

// The program beside the tests in the build tree: build/app/tintorama.
inline std::string ProgramPath() {
    char self[PATH_MAX] = {};
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return "";
    std::string dir(self, size_t(n));
    dir = dir.substr(0, dir.rfind('/'));  // build/tests
    dir = dir.substr(0, dir.rfind('/'));  // build
    return dir + "/app/tintorama";
}

inline std::string Xdo(const std::string& arguments) {
    return Output("timeout 20 xdotool " + arguments);
}

struct Geometry {
    int x = 0, y = 0, width = 0, height = 0;
};

inline Geometry GeometryOf(const std::string& window) {
    Geometry g;
    const std::string shell = Xdo("getwindowgeometry --shell " + window);
    auto value = [&](const std::string& key) {
        const size_t at = shell.find("\n" + key + "=");
        return at == std::string::npos ? -1 : std::atoi(shell.c_str() + at + key.size() + 2);
    };
    g.x = value("X");
    g.y = value("Y");
    g.width = value("WIDTH");
    g.height = value("HEIGHT");
    return g;
}

// The program's visible windows of a size.
inline std::string VisibleOfSize(int width, int height) {
    std::string ids = Xdo("search --onlyvisible --classname tintorama");
    size_t start = 0;
    while (start < ids.size()) {
        size_t end = ids.find('\n', start);
        if (end == std::string::npos) end = ids.size();
        const std::string id = ids.substr(start, end - start);
        const Geometry g = GeometryOf(id);
        if (g.width == width && g.height == height) return id;
        start = end + 1;
    }
    return "";
}

}  // namespace sdl_test
