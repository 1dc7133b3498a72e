// The program directory that the songs and every other data path hang off:
// the executable's folder, whole, however deep it lies.
#include <gtest/gtest.h>

#include <string>

#include "backends/headless/headless.h"
#include "common/globals.h"
#include "music/music_player.h"

namespace {

class ExecutableDirectory : public ::testing::TestWithParam<size_t> {
protected:
    void TearDown() override { headless::SetExecutablePath(""); }
};

TEST_P(ExecutableDirectory, HoldsTheWholePath) {
    // A folder path of the given length, built from 50-character names.
    std::string folder;
    while (folder.size() < GetParam()) folder += "/" + std::string(49, 'd');
    headless::SetExecutablePath(folder + "/tintorama");
    CString strDir = ::ExecutableDirectory();
    EXPECT_EQ(std::string(static_cast<LPCSTR>(strDir)), folder + "/");
    EXPECT_EQ(CMusicPlayer::SongPath(static_cast<LPCSTR>(strDir), "S07"),
              folder + "/Data/Media/Music/S07.mp3");
}

// Below, at and well past the 260 characters of a MAX_PATH buffer.
INSTANTIATE_TEST_SUITE_P(Lengths, ExecutableDirectory, ::testing::Values(100, 250, 300, 4000));

}  // namespace
