// Music that loops: the player rewinds a song at its end, so the song's last
// sample is followed by its first. Decoded, an encoded loop must come back
// at its own length, with no silence and no click where it joins itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "decoder_support.h"

using namespace decoder_test;

namespace {

// What the join of a looping block sounds like.
struct Seam {
    int jump;          // |first - last|: the step across the join
    int largest_step;  // the largest step between neighbours inside the block
    size_t silence;    // quiet samples in a row across the join
};

Seam measure_seam(const std::vector<int16_t>& x) {
    Seam seam{};
    if (x.size() < 2) return seam;
    seam.jump = std::abs(x.front() - x.back());
    for (size_t i = 1; i < x.size(); ++i)
        seam.largest_step = std::max(seam.largest_step, std::abs(x[i] - x[i - 1]));
    auto quiet = [](int16_t v) { return std::abs(v) <= 16; };
    size_t run = 0;
    for (size_t i = x.size(); i > 0 && quiet(x[i - 1]); --i) ++run;
    for (size_t i = 0; i < x.size() && quiet(x[i]); ++i) ++run;
    seam.silence = run;
    return seam;
}

// A click is a step across the join well beyond any step the music takes.
bool clicks(const Seam& seam) { return seam.jump > std::max(64, seam.largest_step * 3 / 2); }

// Two seconds of chords whose every tone makes whole cycles in the block, so
// the block joins itself smoothly; then lame with the songs' settings.
TEST(LoopSeam, LameMadeLoopJoinsWithoutGapOrClick) {
    if (!have_tool("lame")) GTEST_SKIP() << "lame is not installed";
    const int rate = 44100, length = 2 * rate;
    std::vector<uint8_t> raw(static_cast<size_t>(length) * 2);
    std::vector<int16_t> source(static_cast<size_t>(length));
    for (int i = 0; i < length; ++i) {
        double t = static_cast<double>(i) / rate;
        double v = 0.25 * std::sin(2 * M_PI * 220 * t) + 0.15 * std::sin(2 * M_PI * 330 * t) +
                   0.1 * std::sin(2 * M_PI * 550 * t);
        int16_t s = static_cast<int16_t>(std::lround(v * 32767));
        source[static_cast<size_t>(i)] = s;
        raw[2 * static_cast<size_t>(i)] = static_cast<uint8_t>(s & 0xFF);
        raw[2 * static_cast<size_t>(i) + 1] = static_cast<uint8_t>(static_cast<uint16_t>(s) >> 8);
    }
    std::string dir = temp_dir();
    write_file(dir + "/loop.raw", raw);
    ASSERT_TRUE(run("lame --quiet -r --little-endian -s 44.1 -m m -b 64 --cbr -q 2 " + dir +
                    "/loop.raw " + dir + "/loop.mp3 2>/dev/null"));
    std::vector<uint8_t> stream = read_file(dir + "/loop.mp3");
    ASSERT_NE(tag_frame_values(stream), 0u) << "lame writes its tag frame";

    decoded ours = decode_all(stream);
    ASSERT_EQ(ours.samples.size(), source.size()) << "exactly the encoder's input";
    Seam seam = measure_seam(ours.samples);
    EXPECT_LE(seam.silence, 4u) << "a gap at the join";
    EXPECT_FALSE(clicks(seam)) << "step " << seam.jump << " across the join, largest inside "
                               << seam.largest_step;
    // In line with the source: the decoded loop starts where the input did.
    comparison c = compare(std::vector<int16_t>(ours.samples.begin() + 2000, ours.samples.end()),
                           std::vector<int16_t>(source.begin() + 2000, source.end()));
    EXPECT_LT(c.rms, 1500.0) << "the cut is out of step with the input";
}

// The detector itself: an untrimmed decode of the same kind of stream, tag
// frame and encoder delay included, has a gap at the join.
TEST(LoopSeam, DetectorFindsTheGapOfAnUntrimmedDecode) {
    std::vector<int16_t> block(4000);
    for (size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<int16_t>(8000 * std::sin(2 * M_PI * static_cast<double>(i) / 400));
    std::vector<int16_t> padded(1152 + 529, 0);
    padded.insert(padded.end(), block.begin(), block.end());
    EXPECT_GT(measure_seam(padded).silence, 1000u);
    std::vector<int16_t> cut(block.begin() + 100, block.end());  // starts mid-swing
    EXPECT_TRUE(clicks(measure_seam(cut)));
    EXPECT_FALSE(clicks(measure_seam(block)));
}

// The program's own songs, where the build made them: each loops without a
// click at its join and starts at once.
TEST(LoopSeam, ShippedSongsJoinWithoutAClick) {
    const char* env = getenv("TINTO_SONG_DIR");
    std::filesystem::path dir = env ? env : TINTO_SONG_DIR;
    std::error_code error;
    std::vector<std::filesystem::path> songs;
    for (const auto& entry : std::filesystem::directory_iterator(dir, error))
        if (entry.path().extension() == ".mp3") songs.push_back(entry.path());
    ASSERT_FALSE(songs.empty()) << "no songs built in " << dir;
    std::sort(songs.begin(), songs.end());
    for (const auto& song : songs) {
        decoded ours = decode_all(read_file(song.string()));
        ASSERT_GT(ours.samples.size(), 44100u) << song;
        Seam seam = measure_seam(ours.samples);
        EXPECT_FALSE(clicks(seam)) << song.filename() << ": step " << seam.jump
                                   << " across the join, largest inside " << seam.largest_step;
        // A song may end on a rest of its own; its start, though, is the
        // first note, with nothing of the decoder's before it (the tag frame
        // and the decoder's delay alone were 1681 silent samples).
        size_t quiet_start = 0;
        while (quiet_start < ours.samples.size() && std::abs(ours.samples[quiet_start]) <= 16)
            ++quiet_start;
        EXPECT_LT(quiet_start, 529u) << song.filename() << ": a gap at the join";
    }
}

}  // namespace
