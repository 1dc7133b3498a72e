// The reference tools some tests compare against: lame and twolame (MPEG
// encoders), mpg123 (a reference decoder) and ImageMagick's convert. A test
// that needs one skips when it is not installed:
//
//     if (!test_support::HaveTool("lame")) GTEST_SKIP() << "lame is not installed";
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace test_support {

// True when `name` is a command on the PATH.
bool HaveTool(const char* name);

// Runs a shell command line; true on exit status 0.
bool Run(const std::string& command);

// `text` quoted for the shell.
std::string Quoted(const std::string& text);

// lame with `options` (for example "-V 4"), from a WAV file to an MP3 file.
bool LameEncode(const std::filesystem::path& wav, const std::filesystem::path& mp3,
                const std::string& options);

// ImageMagick's convert with `arguments` (already quoted where needed).
bool Convert(const std::string& arguments);

// A picture's pixels as 8-bit RGB triples, top row first, read by convert;
// empty when convert fails.
std::vector<uint8_t> ConvertToRgb(const std::filesystem::path& picture);

}  // namespace test_support
