// Replays fuzz inputs without libFuzzer: each argument is a file or a folder
// of files, and every file is handed to the target once. The CTest suite
// runs every kept corpus this way, so the sanitizer builds check that no
// input the fuzzers found (or were seeded with) crashes today's code.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fs = std::filesystem;

namespace {

bool RunFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "replay: cannot read %s\n", path.c_str());
        return false;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    // A heap copy of exactly the input's size, so that ASan sees a read one
    // past the end as libFuzzer would.
    std::vector<uint8_t> exact(bytes);
    LLVMFuzzerTestOneInput(exact.empty() ? nullptr : exact.data(), exact.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    size_t count = 0;
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        fs::path arg(argv[i]);
        std::vector<fs::path> files;
        if (fs::is_directory(arg)) {
            for (const auto& entry : fs::directory_iterator(arg))
                if (entry.is_regular_file()) files.push_back(entry.path());
        } else {
            files.push_back(arg);
        }
        for (const auto& f : files) {
            ok = RunFile(f) && ok;
            ++count;
        }
    }
    std::printf("replayed %zu inputs\n", count);
    // An empty corpus is a mistake in the build, not a pass.
    return ok && count > 0 ? 0 : 1;
}
