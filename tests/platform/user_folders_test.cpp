// The pictures folder as the desktop's user-dirs.dirs names it.
#include <gtest/gtest.h>

#include <string>

#include "controls/user_folders.h"

namespace {

struct FolderCase {
    const char* name;
    const char* environment;  // XDG_PICTURES_DIR, or null
    const char* userDirs;     // the file's text
    const char* expected;
};

class PicturesFolder : public ::testing::TestWithParam<FolderCase> {};

TEST_P(PicturesFolder, Resolves) {
    const FolderCase& c = GetParam();
    EXPECT_EQ(win::controls::PicturesFolderFrom(c.environment, c.userDirs, "/home/kim"),
              c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    UserDirs, PicturesFolder,
    ::testing::Values(
        FolderCase{"HomeRelative", nullptr,
                   "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                   "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n",
                   "/home/kim/Bilder"},
        FolderCase{"Absolute", nullptr, "XDG_PICTURES_DIR=\"/data/photos\"", "/data/photos"},
        FolderCase{"TheEnvironmentComesFirst", "/srv/pics", "XDG_PICTURES_DIR=\"$HOME/Bilder\"",
                   "/srv/pics"},
        FolderCase{"ARelativeEnvironmentValueIsIgnored", "pics", "", "/home/kim"},
        FolderCase{"NoFileMeansHome", nullptr, "", "/home/kim"},
        FolderCase{"HomeItself", nullptr, "XDG_PICTURES_DIR=\"$HOME/\"", "/home/kim"},
        FolderCase{"ACommentedLineCountsForNothing", nullptr, "#XDG_PICTURES_DIR=\"/x\"\n",
                   "/home/kim"},
        FolderCase{"UnquotedIsMalformed", nullptr, "XDG_PICTURES_DIR=/x\n", "/home/kim"},
        FolderCase{"UnclosedIsMalformed", nullptr, "XDG_PICTURES_DIR=\"/x\n", "/home/kim"},
        FolderCase{"OtherVariablesAreNotItsOwn", nullptr, "XDG_PICTURES_DIRS=\"/x\"\n",
                   "/home/kim"},
        FolderCase{"TheLastDefinitionWins", nullptr,
                   "XDG_PICTURES_DIR=\"/a\"\nXDG_PICTURES_DIR=\"$HOME/b\"\n", "/home/kim/b"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
