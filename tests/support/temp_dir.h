// A fresh directory for one test, removed with everything in it when the
// object goes, so that tests neither collide nor leave files behind.
#pragma once
#include <filesystem>
#include <string>

namespace test_support {

class TempDir {
public:
    // Made under the system's temporary folder as "<prefix>-XXXXXX".
    explicit TempDir(const std::string& prefix = "tinto");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return path_.string(); }
    // A name inside the directory (not created).
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

}  // namespace test_support
