#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "backends/headless/headless.h"

namespace {

INT_PTR Open(const char* file, const char* verb = "open", const char* dir = nullptr) {
    return reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, verb, file, nullptr, dir, SW_SHOWNORMAL));
}

}  // namespace

TEST(ShellExecute, OpensExistingFilesAndAddressesThroughTheRecorder) {
    headless::ScreenSize();  // the headless backend is in place
    headless::TakeShellRequests();
    std::string path = testing::TempDir() + "/shell_open_me.txt";
    FILE* f = std::fopen(path.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fclose(f);

    EXPECT_GT(Open(path.c_str()), 32);
    EXPECT_GT(Open("https://example.org/help", nullptr), 32);
    auto requests = headless::TakeShellRequests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].operation, "open");
    EXPECT_EQ(requests[0].file, path);
    EXPECT_EQ(requests[1].file, "https://example.org/help");
    EXPECT_EQ(requests[1].operation, "open");
    std::remove(path.c_str());
}

TEST(ShellExecute, OpensPathsWrittenWithBackslashes) {
    headless::TakeShellRequests();
    std::string dir = testing::TempDir() + "/shell_backslash";
    std::string native = dir + "/page.htm";
    std::filesystem::create_directories(dir);
    FILE* f = std::fopen(native.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fclose(f);

    std::string windowsStyle = testing::TempDir() + "/shell_backslash\\page.htm";
    EXPECT_GT(Open(windowsStyle.c_str()), 32);
    auto requests = headless::TakeShellRequests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(std::filesystem::path(requests[0].file), std::filesystem::path(native));
    std::filesystem::remove_all(dir);
}

TEST(ShellExecute, RefusesWhatItCannotOpen) {
    headless::TakeShellRequests();
    EXPECT_EQ(Open("/nonexistent/dir/missing.html"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Open("missing.html", "open", "/tmp"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Open(""), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Open("/tmp", "print"), SE_ERR_NOASSOC);
    EXPECT_TRUE(headless::TakeShellRequests().empty());
}
