// CMusicPlayer with the real player engine: a song file that is missing, an
// unplayable one, and a real MP3 that loops. The sound goes to the layer's
// null device, which takes the samples as fast as they come.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "fake_player.h"
#include "support/message_box_catcher.h"

using namespace music_test;

namespace {

const bool null_device_by_default = [] { return setenv("TINTO_AUDIO", "null-instant", 0) == 0; }();

// A program directory of the test's own, with songs of its choosing.
class SongFolder {
public:
    SongFolder() {
        const char* tmp = std::getenv("TMPDIR");
        root = std::string(tmp && *tmp ? tmp : "/tmp") + "/tinto-music-" +
               std::to_string(getpid()) + "/";
        music = root + "Data/Media/Music/";
        std::system(("mkdir -p '" + music + "'").c_str());
    }
    ~SongFolder() { std::system(("rm -rf '" + root + "'").c_str()); }
    void Write(const std::string& name, const std::string& bytes) {
        std::ofstream(music + name, std::ios::binary) << bytes;
    }
    // A quarter of a second of a tone, encoded by lame.
    bool Encode(const std::string& name) {
        std::string raw = root + "tone.raw";
        {
            std::ofstream out(raw, std::ios::binary);
            for (int i = 0; i < 11025; ++i) {
                int16_t v = static_cast<int16_t>((i % 100) < 50 ? 3000 : -3000);
                out.write(reinterpret_cast<const char*>(&v), 2);
            }
        }
        std::string cmd = "lame --quiet -r --little-endian -s 44.1 -m m --bitwidth 16 '" + raw +
                          "' '" + music + name + "' 2>/dev/null";
        return std::system(cmd.c_str()) == 0;
    }
    std::string root, music;
};

// Counts the ends of song that the engine reports.
class CountingPlayer : public ObservedPlayer {
public:
    CountingPlayer() : ObservedPlayer(nullptr) {}
    void OnPlayerState(int state) override {
        if (state == AT_EOF) ++ends;
        CMusicPlayer::OnPlayerState(state);
    }
    int ends = 0;
};

TEST(MusicPlayerWithEngine, MissingSongShowsCommandSevenAndTheErrorName) {
    ASSERT_TRUE(null_device_by_default);
    SongFolder folder;
    MessageBoxCatcher boxes;
    CountingPlayer music;
    ASSERT_NE(music.m_pControl, nullptr);
    music.OpenSong(CMusicPlayer::SongPath(folder.root, "999"));
    ASSERT_TRUE(PumpUntil([&] { return !boxes.boxes.empty(); }));
    EXPECT_EQ(boxes.boxes[0].caption, "Audio Command Failed");
    EXPECT_EQ(boxes.boxes[0].text, "Command 7 failed\n[no such file]");
    ASSERT_TRUE(RoundTrip(music));
    EXPECT_FALSE(music.IsPlaying()) << "the music stays silent";
    EXPECT_EQ(boxes.boxes.size(), 1u);
}

TEST(MusicPlayerWithEngine, UnplayableSongEndsOnce) {
    SongFolder folder;
    std::string junk;
    for (int i = 0; i < 5000; ++i) junk += static_cast<char>((i * 7919) >> 3);
    folder.Write("12.mp3", junk);
    folder.Write("13.mp3", "");
    MessageBoxCatcher boxes;
    CountingPlayer music;
    for (const char* code : {"12", "13"}) {
        music.ends = 0;
        music.OpenSong(CMusicPlayer::SongPath(folder.root, code));
        ASSERT_TRUE(PumpUntil([&] { return music.ends > 0; })) << code;
        for (int i = 0; i < 5; ++i) ASSERT_TRUE(RoundTrip(music));
        EXPECT_EQ(music.ends, 1) << code;
        EXPECT_EQ(music.m_nState, CMusicPlayer::AT_EOF) << code;
    }
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST(MusicPlayerWithEngine, RealSongLoops) {
    SongFolder folder;
    ASSERT_TRUE(folder.Encode("11.mp3"));
    MessageBoxCatcher boxes;
    CountingPlayer music;
    music.OpenSong(CMusicPlayer::SongPath(folder.root, "11"));
    ASSERT_TRUE(PumpUntil([&] { return music.ends >= 3; }));
    EXPECT_TRUE(boxes.boxes.empty());
    // The toggle: off stops it, on plays it again.
    ASSERT_TRUE(PumpUntil([&] { return music.IsPlaying(); }));
    music.Stop();
    ASSERT_TRUE(PumpUntil([&] { return music.m_nState == CMusicPlayer::STOPPED; }));
    int ends = music.ends;
    music.Restart();
    ASSERT_TRUE(PumpUntil([&] { return music.ends > ends; }));
    EXPECT_TRUE(boxes.boxes.empty());
}

}  // namespace
