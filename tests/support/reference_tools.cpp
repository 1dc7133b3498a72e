#include "support/reference_tools.h"

#include <cstdio>
#include <cstdlib>

namespace test_support {

bool HaveTool(const char* name) {
    return Run(std::string("command -v ") + Quoted(name) + " >/dev/null 2>&1");
}

bool Run(const std::string& command) { return std::system(command.c_str()) == 0; }

std::string Quoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

bool LameEncode(const std::filesystem::path& wav, const std::filesystem::path& mp3,
                const std::string& options) {
    return Run("lame --quiet " + options + " " + Quoted(wav.string()) + " " + Quoted(mp3.string()));
}

bool Convert(const std::string& arguments) { return Run("convert " + arguments); }

std::vector<uint8_t> ConvertToRgb(const std::filesystem::path& picture) {
    std::vector<uint8_t> out;
    FILE* pipe = popen(("convert " + Quoted(picture.string()) + " -depth 8 rgb:-").c_str(), "r");
    if (!pipe) return out;
    unsigned char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.insert(out.end(), buffer, buffer + n);
    if (pclose(pipe) != 0) out.clear();
    return out;
}

}  // namespace test_support
