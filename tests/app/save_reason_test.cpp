// The reason a save failure gives, for each way a path can refuse a file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "screens/coloring_screen.h"

namespace fs = std::filesystem;

namespace {

struct ReasonCase {
    const char* name;
    // Prepares the folder and answers the path to save to.
    std::string (*prepare)(const std::string& dir);
    const char* expected;    // a part of the reason; "" for no reason at all
    bool needsOrdinaryUser;  // permissions that root would ignore
};

std::string Writable(const std::string& dir) { return dir + "picture.bmp"; }
std::string MissingFolder(const std::string& dir) { return dir + "nowhere/picture.bmp"; }
std::string FileAsFolder(const std::string& dir) {
    std::ofstream(dir + "plain") << "x";
    return dir + "plain/picture.bmp";
}
std::string LongName(const std::string& dir) { return dir + std::string(300, 'a') + ".bmp"; }
std::string ReadOnlyFile(const std::string& dir) {
    ::chmod(dir.c_str(), 0777);  // the folder would take a new file
    std::ofstream(dir + "kept.bmp") << "x";
    ::chmod((dir + "kept.bmp").c_str(), 0444);
    return dir + "kept.bmp";
}
std::string ReadOnlyFolder(const std::string& dir) {
    fs::create_directories(dir + "locked");
    ::chmod((dir + "locked").c_str(), 0555);
    return dir + "locked/picture.bmp";
}

class SaveReasonTest : public ::testing::TestWithParam<ReasonCase> {
protected:
    void SetUp() override {
        m_dir = ::testing::TempDir() + "tinto_reason_" + std::to_string(::getpid()) + "_" +
                GetParam().name + "/";
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override {
        if (m_bDropped) {
            EXPECT_EQ(::seteuid(0), 0);
        }
        std::error_code error;
        fs::permissions(m_dir + "locked", fs::perms::owner_all, error);
        fs::remove_all(m_dir, error);
    }
    std::string m_dir;
    bool m_bDropped = false;
};

}  // namespace

TEST_P(SaveReasonTest, NamesWhyTheFileCannotBeWritten) {
    std::string path = GetParam().prepare(m_dir);
    if (GetParam().needsOrdinaryUser && ::geteuid() == 0) {
        ASSERT_EQ(::seteuid(65534), 0);
        m_bDropped = true;
    }
    std::string reason = static_cast<LPCSTR>(coloring_screen::WhyNotWritable(path.c_str()));
    if (m_bDropped) {
        ASSERT_EQ(::seteuid(0), 0);
        m_bDropped = false;
    }
    if (*GetParam().expected) {
        EXPECT_NE(reason.find(GetParam().expected), std::string::npos) << reason;
    } else {
        EXPECT_EQ(reason, "");
    }
    // The probe leaves nothing behind.
    for (const auto& entry : fs::directory_iterator(m_dir))
        EXPECT_EQ(entry.path().filename().string().rfind(".tintorama-", 0), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, SaveReasonTest,
    ::testing::Values(ReasonCase{"Writable", Writable, "", false},
                      ReasonCase{"MissingFolder", MissingFolder,
                                 "cannot be reached: No such file or directory", false},
                      ReasonCase{"FileAsFolder", FileAsFolder, "is not a folder", false},
                      ReasonCase{"LongName", LongName, "too long", false},
                      ReasonCase{"ReadOnlyFile", ReadOnlyFile,
                                 "may not be replaced: Permission denied", true},
                      ReasonCase{"ReadOnlyFolder", ReadOnlyFolder,
                                 "does not take new files: Permission denied", true}),
    [](const auto& info) { return std::string(info.param.name); });
