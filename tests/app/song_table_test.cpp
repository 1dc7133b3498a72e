// The music list's song table against the list the songs are built from.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "music/song_table.h"

TEST(SongTable, HoldsTheEightyCodesAndTitlesOfTheSongList) {
    std::ifstream list(TINTO_SOURCE_DIR "/res/songs.txt");
    ASSERT_TRUE(list.good());
    std::string line;
    int row = 0;
    while (std::getline(list, line)) {
        if (line.empty()) continue;
        ASSERT_LT(row, kSongCount);
        size_t tab = line.find('\t');
        ASSERT_NE(tab, std::string::npos);
        EXPECT_EQ(SongAt(row).code, line.substr(0, tab)) << "row " << row;
        EXPECT_EQ(SongAt(row).title, line.substr(tab + 1)) << "row " << row;
        ++row;
    }
    EXPECT_EQ(row, kSongCount);
    // Group G, number N: "G" then "N", 1..5 by 1..16.
    for (int g = 1; g <= 5; ++g)
        for (int n = 1; n <= 16; ++n)
            EXPECT_EQ(SongAt((g - 1) * 16 + n - 1).code, std::to_string(g) + std::to_string(n));
}
