// CMusicPlayer across two real threads: a player routine of the tests' own
// sends the notifications, the hidden window hands them to the handlers on
// this thread, and the commands that the handlers and the operations send
// arrive back at the routine. Message boxes are answered through the
// headless backend.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "fake_player.h"
#include "support/message_box_catcher.h"

using namespace music_test;

namespace {

using Codes = std::vector<unsigned>;

class MusicPlayerTest : public ::testing::Test {
protected:
    void Start(bool acts = false) {
        fake.acts = acts;
        music = std::make_unique<ObservedPlayer>(&fake);
        ASSERT_NE(music->m_pControl, nullptr);
        ASSERT_TRUE(Settle(*music, fake));
    }
    // Has the fake player send notifications, then waits until they and
    // whatever they caused have been handled on both sides.
    void Report(std::function<void(PlayerControl*)> script) {
        fake.Queue(std::move(script));
        ASSERT_TRUE(Settle(*music, fake));
    }
    void ReportState(int state) {
        Report([state](PlayerControl* c) { control_send(c, ntf_player_state, state); });
    }
    Codes TakeCodes() {
        Codes codes;
        for (const Command& c : fake.Take()) codes.push_back(c.code);
        return codes;
    }

    // Declared in this order so that the player is gone before the routine's
    // data and the box catcher.
    FakePlayer fake;
    MessageBoxCatcher boxes;
    std::unique_ptr<ObservedPlayer> music;
};

TEST_F(MusicPlayerTest, ReadySetsPlayerModeOne) {
    Start();
    auto commands = fake.Take();
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].code, cmd_set_player_mode);
    EXPECT_EQ(commands[0].a, 1u) << "close the sound output when playback stops";
    EXPECT_EQ(music->m_nState, CMusicPlayer::STOPPED);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(MusicPlayerTest, NackShowsTheFailureBox) {
    Start();
    fake.Take();
    // The player's notifications keep coming while a box is up.
    int stateWhileUp = -1;
    boxes.whileUp = [&](HWND) { stateWhileUp = music->m_nState; };
    Report([](PlayerControl* c) {
        control_send(c, ntf_nack, cmd_input_open, -513);
        control_send(c, ntf_player_state, 1);
    });
    Report([](PlayerControl* c) {
        control_send(c, ntf_nack, cmd_stop, -101);
        control_send(c, ntf_nack, cmd_seek, -199);  // a listed group, no name
    });
    ASSERT_EQ(boxes.boxes.size(), 3u);
    const ShownBox& box = boxes.boxes[0];
    EXPECT_EQ(box.caption, "Audio Command Failed");
    EXPECT_EQ(box.text, "Command 7 failed\n[no such file]");
    EXPECT_EQ(box.owner, nullptr) << "no owner: the program's windows stay usable";
    EXPECT_TRUE(box.errorIcon);
    EXPECT_FALSE(box.topmost);
    EXPECT_EQ(stateWhileUp, CMusicPlayer::PLAYING);
    // The second nack arrives while the first one's box is up and opens a
    // box of its own over it; which is answered first does not matter.
    std::set<std::string> texts{boxes.boxes[1].text, boxes.boxes[2].text};
    EXPECT_EQ(texts, (std::set<std::string>{"Command 5 failed\n[invalid parameters]",
                                            "Command 6 failed\n[]"}));
    EXPECT_TRUE(fake.Take().empty()) << "a failure box sends nothing";
}

TEST_F(MusicPlayerTest, PlayerStatesAreRecorded) {
    Start();
    fake.Take();
    ReportState(1);
    EXPECT_EQ(music->m_nState, CMusicPlayer::PLAYING);
    EXPECT_TRUE(music->IsPlaying());
    ReportState(2);
    EXPECT_EQ(music->m_nState, CMusicPlayer::PAUSED);
    EXPECT_FALSE(music->IsPlaying());
    ReportState(0);
    EXPECT_EQ(music->m_nState, CMusicPlayer::STOPPED);
    // States this program does not know change nothing.
    ReportState(1);
    ReportState(4);
    ReportState(255);
    EXPECT_EQ(music->m_nState, CMusicPlayer::PLAYING);
    EXPECT_TRUE(fake.Take().empty());
}

TEST_F(MusicPlayerTest, EndOfSongRewindsAndPlaysAgain) {
    Start();
    ReportState(1);
    Report([](PlayerControl* c) { control_send(c, ntf_input_position, 120, 400); });
    fake.Take();
    ReportState(3);
    auto commands = fake.Take();
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].code, cmd_seek);
    EXPECT_EQ(commands[0].a, 0u) << "offset";
    EXPECT_EQ(commands[0].b, 1u) << "range";
    EXPECT_EQ(commands[1].code, cmd_play);
    EXPECT_EQ(music->m_nState, CMusicPlayer::AT_EOF);
    ReportState(1);
    EXPECT_EQ(music->m_nState, CMusicPlayer::PLAYING);
    // Each turn of the loop needs the song to have moved again.
    Report([](PlayerControl* c) { control_send(c, ntf_input_position, 400, 400); });
    fake.Take();
    ReportState(3);
    EXPECT_EQ(TakeCodes(), (Codes{cmd_seek, cmd_play}));
}

// A song that ends without ever leaving its start (a file with no playable
// frame) is not rewound: its loop would spin for ever.
TEST_F(MusicPlayerTest, SongThatNeverAdvancedIsNotLooped) {
    Start();
    Report([](PlayerControl* c) {
        control_send(c, ntf_input_state, 0);  // opened: play
        control_send(c, ntf_player_state, 1);
        control_send(c, ntf_input_position, 0, 1);
        control_send(c, ntf_player_state, 3);
    });
    EXPECT_EQ(TakeCodes(), (Codes{cmd_set_player_mode, cmd_play}));
    EXPECT_EQ(music->m_nState, CMusicPlayer::AT_EOF);

    // A song that played, then another one opened that does not: the new
    // song starts with a clean slate.
    Report([](PlayerControl* c) {
        control_send(c, ntf_input_position, 200, 400);
        control_send(c, ntf_input_state, 0);
        control_send(c, ntf_player_state, 3);
    });
    EXPECT_EQ(TakeCodes(), Codes{cmd_play});
}

TEST_F(MusicPlayerTest, OpenedInputIsPlayed) {
    Start();
    fake.Take();
    Report([](PlayerControl* c) {
        control_send(c, ntf_input_state, 1);
        control_send(c, ntf_input_state, 2);
    });
    EXPECT_TRUE(fake.Take().empty()) << "only state 0, just opened, is played";
    Report([](PlayerControl* c) { control_send(c, ntf_input_state, 0); });
    EXPECT_EQ(TakeCodes(), Codes{cmd_play});
    EXPECT_EQ(music->m_nState, CMusicPlayer::STOPPED) << "the state waits for the player's word";
}

// Stop goes out only while PLAYING, restart only while not; the state the
// player last reported decides, never the command last sent.
TEST_F(MusicPlayerTest, StopAndRestartFollowTheRecordedState) {
    Start();
    struct Case {
        int state;
        bool stops, restarts;
    } cases[] = {{0, false, true}, {1, true, false}, {2, false, true}, {3, false, true}};
    for (const Case& c : cases) {
        ReportState(c.state);
        fake.Take();
        music->Stop();
        music->Restart();
        ASSERT_TRUE(Settle(*music, fake));
        Codes expected;
        if (c.stops) expected.push_back(cmd_stop);
        if (c.restarts) expected.push_back(cmd_play);
        EXPECT_EQ(TakeCodes(), expected) << "state " << c.state;
    }
}

TEST_F(MusicPlayerTest, SongsAgainstAPlayerThatActs) {
    Start(true);
    fake.Take();
    music->OpenSong("/songs/Data/Media/Music/11.mp3");
    ASSERT_TRUE(Settle(*music, fake));
    auto commands = fake.Take();
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].code, cmd_input_open);
    EXPECT_EQ(commands[0].text, "/songs/Data/Media/Music/11.mp3");
    EXPECT_EQ(commands[1].code, cmd_play);
    EXPECT_TRUE(music->IsPlaying());

    // Between a command and its notification the old state holds.
    music->Stop();
    EXPECT_TRUE(music->IsPlaying());
    ASSERT_TRUE(Settle(*music, fake));
    EXPECT_FALSE(music->IsPlaying());
    music->Stop();  // already stopped: nothing goes out
    music->Restart();
    ASSERT_TRUE(Settle(*music, fake));
    EXPECT_EQ(TakeCodes(), (Codes{cmd_stop, cmd_play}));
    EXPECT_TRUE(music->IsPlaying());

    // The song that is playing, chosen again, is opened again.
    music->OpenSong("/songs/Data/Media/Music/11.mp3");
    ASSERT_TRUE(Settle(*music, fake));
    EXPECT_EQ(TakeCodes(), (Codes{cmd_input_open, cmd_play}));

    // A song that cannot be opened: the box, and no play.
    music->OpenSong("/songs/Data/Media/Music/missing.mp3");
    ASSERT_TRUE(Settle(*music, fake));
    EXPECT_EQ(TakeCodes(), Codes{cmd_input_open});
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, "Command 7 failed\n[no such file]");
}

TEST_F(MusicPlayerTest, NothingIsSentWhenNoPlayerStarted) {
    // A client whose player cannot start keeps its window but no control.
    music = std::make_unique<ObservedPlayer>(nullptr, &fake);
    ASSERT_EQ(music->m_pControl, nullptr);
    ASSERT_NE(music->m_hWnd, nullptr);
    music->OpenSong("/songs/11.mp3");
    music->Stop();
    music->Restart();
    music->SendStop();
    // Notifications that reach its window anyway find no channel to unpack
    // them with: no handler runs and nothing is sent.
    PostMessageA(music->m_hWnd, UINT(player_message_base) + ntf_ready, 0, 0);
    PostMessageA(music->m_hWnd, UINT(player_message_base) + ntf_input_state, 0, 0);
    headless::RunUntilIdle();
    EXPECT_EQ(music->m_nState, CMusicPlayer::STOPPED);
    EXPECT_TRUE(boxes.boxes.empty());
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, player_message_base, player_message_last, PM_REMOVE));
}

// The home screen's shut-down: stop, then delete at once. The player's
// refusal (no song was ever chosen) finds the window gone: no box.
TEST_F(MusicPlayerTest, ShutDownWithNoSongShowsNoBox) {
    Start(true);
    fake.Take();
    music->SendStop();
    music.reset();
    headless::RunUntilIdle();
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(TakeCodes(), Codes{cmd_stop});
}

TEST(MusicPlayerSongPath, OneNativeSeparatorBetweenTheParts) {
    EXPECT_EQ(CMusicPlayer::SongPath("/opt/tintorama/", "11"),
              "/opt/tintorama/Data/Media/Music/11.mp3");
    EXPECT_EQ(CMusicPlayer::SongPath("/opt/tintorama", "516"),
              "/opt/tintorama/Data/Media/Music/516.mp3");
}

}  // namespace
