// The settings file itself: what a write keeps, what it refuses, and that
// it never leaves a half-written file or a temporary one behind.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "common/settings.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;

namespace {

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("XDG_CONFIG_HOME", m_dir.str().c_str(), 1);
        m_strFolder = m_dir.str() + "/tintorama";
    }
    void TearDown() override {
        ::unsetenv("XDG_CONFIG_HOME");
        settings::Load();  // nothing of this test stays for the next
    }
    std::string Text() const {
        std::ifstream in(m_strFolder + "/settings", std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void Write(const std::string& text) {
        fs::create_directories(m_strFolder);
        std::ofstream(m_strFolder + "/settings", std::ios::binary) << text;
    }
    test_support::TempDir m_dir{"tinto_settings"};
    std::string m_strFolder;
};

TEST_F(SettingsFile, AWriteKeepsOtherKeysAndLeavesNoTemporaryFile) {
    Write("# written by hand\r\ncolour=blue\nfullscreen=0\n");
    settings::Load();
    EXPECT_EQ(settings::FilePath(), CString((m_strFolder + "/settings").c_str()));
    EXPECT_EQ(settings::Get("colour"), CString("blue"));
    EXPECT_FALSE(settings::GetBool(settings::kFullScreen, TRUE));
    ASSERT_TRUE(settings::SetBool(settings::kFullScreen, TRUE));
    ASSERT_TRUE(settings::Set(settings::kSaveFolder, "/home/kim/Pictures/My drawings"));
    const std::string text = Text();
    EXPECT_NE(text.find("colour=blue\n"), std::string::npos);
    EXPECT_NE(text.find("fullscreen=1\n"), std::string::npos);
    EXPECT_NE(text.find("save_folder=/home/kim/Pictures/My drawings\n"), std::string::npos);
    size_t files = 0;
    for (const auto& entry : fs::directory_iterator(m_strFolder)) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1u);
    settings::Load();  // read back as the next run would
    EXPECT_TRUE(settings::GetBool(settings::kFullScreen, FALSE));
}

TEST_F(SettingsFile, WhatALineCannotHoldIsRefusedAndAFailedWriteChangesNothing) {
    ASSERT_TRUE(settings::Set(settings::kSaveFolder, "/a"));
    EXPECT_FALSE(settings::Set(settings::kSaveFolder, "/a\nfullscreen=1"));
    EXPECT_FALSE(settings::Set("Full Screen", "1"));
    EXPECT_FALSE(settings::Set("", "1"));
    EXPECT_EQ(settings::Get(settings::kSaveFolder), CString("/a"));
    // Where the folder should be lies a file: the write fails, and the
    // value in memory stays as it was.
    fs::remove_all(m_strFolder);
    std::ofstream(m_strFolder) << "not a folder";
    EXPECT_FALSE(settings::Set(settings::kSaveFolder, "/b"));
    EXPECT_EQ(settings::Get(settings::kSaveFolder), CString("/a"));
}

}  // namespace
