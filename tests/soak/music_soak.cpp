// The long soak of the background music: the program's music player with the
// real engine plays the 80 songs end to end, over and over, on the null
// device that takes samples as fast as they come, with random commands while
// each song plays (pause and resume, stop and restart, seeks, volume, pings,
// reopening the song). It runs for the minutes asked and reports resident
// memory every ten seconds; an error report, a message box or a song that
// stops moving for ten seconds fails the run, naming the song and the
// commands sent. Refused commands are tallied.
//
//   music_soak APP_DIR [MINUTES [SEED]]
//
// APP_DIR holds Data/Media/Music/<code>.mp3 (the `songs` target builds them).
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "music/music_player.h"
#include "music/song_table.h"
#include "support/message_box_catcher.h"
#include "support/resident_memory.h"

namespace {

using Clock = std::chrono::steady_clock;

// The program's own player, with every failure it would show counted instead.
class SoakPlayer : public CMusicPlayer {
public:
    SoakPlayer() : CMusicPlayer(nullptr) {}

    // A command can race the song's end (a stop that arrives after it), so
    // refusals are tallied and reported rather than failing the run.
    void OnNack(const PlayerPayload* payload) override {
        ++refusals[std::to_string(payload->byte_short.a) + " refused with " +
                   std::to_string(payload->byte_short.b)];
    }
    void OnError(const PlayerPayload* payload) override {
        char text[160];
        snprintf(text, sizeof text, "error %d from source %d: %s", int(payload->error.code),
                 int(payload->error.source), payload->error.text ? payload->error.text : "");
        failures.push_back(text);
    }
    void OnPlayerState(int state) override {
        if (state == AT_EOF && m_bAdvanced) ++ends;
        CMusicPlayer::OnPlayerState(state);
    }
    void OnInputPosition(uint32_t offset, uint32_t range) override {
        ++positions;
        CMusicPlayer::OnInputPosition(offset, range);
    }
    void OnPong(uint32_t) override { ++pongs; }

    void SendCommand(unsigned code, int a = 0, int b = 0, int c = 0) {
        control_send(m_pControl, code, a, b, c);
    }

    std::vector<std::string> failures;
    std::map<std::string, long> refusals;  // "command refused with error" -> times
    long ends = 0, positions = 0, pongs = 0;
};

// Runs this thread's messages for up to `ms` milliseconds, or until `done`.
template <class Done>
void Pump(int ms, Done done) {
    Clock::time_point end = Clock::now() + std::chrono::milliseconds(ms);
    MSG msg;
    while (!done() && Clock::now() < end) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: music_soak APP_DIR [MINUTES [SEED]]\n");
        return 2;
    }
    setenv("TINTO_AUDIO", "null-instant", 1);
    const std::string appDir = argv[1];
    const double minutes = argc > 2 ? atof(argv[2]) : 30.0;
    const unsigned seed = argc > 3 ? unsigned(strtoul(argv[3], nullptr, 10)) : 1u;
    for (int i = 0; i < kSongCount; ++i) {
        std::string path = CMusicPlayer::SongPath(appDir, SongAt(i).code);
        if (FILE* f = fopen(path.c_str(), "rb")) {
            fclose(f);
        } else {
            fprintf(stderr, "music_soak: missing %s\n", path.c_str());
            return 2;
        }
    }

    MessageBoxCatcher boxes;
    SoakPlayer player;
    if (!player.m_pControl) {
        fprintf(stderr, "music_soak: the player did not start\n");
        return 1;
    }
    std::mt19937 random(seed);
    auto chance = [&](int percent) { return int(random() % 100) < percent; };

    const Clock::time_point start = Clock::now();
    const Clock::time_point end = start + std::chrono::milliseconds(long(minutes * 60000));
    Clock::time_point nextReport = start;
    long startKiB = 0, peakKiB = 0, commands = 0, turns = 0;
    std::vector<std::string> recent;  // the current turn's commands, for a failure report
    auto note = [&](const std::string& what) {
        recent.push_back(what);
        ++commands;
    };

    printf("seed %u, %.1f minutes\n", seed, minutes);
    for (; Clock::now() < end; ++turns) {
        const SongRow& song = SongAt(int(turns % kSongCount));
        recent.clear();
        const long endsBefore = player.ends;
        note(std::string("open ") + song.code);
        player.OpenSong(CMusicPlayer::SongPath(appDir, song.code));

        // Random commands while the song plays, then let it run to its end.
        for (int n = int(random() % 4); n > 0 && player.ends == endsBefore; --n) {
            Pump(int(random() % 30), [&] { return player.ends != endsBefore; });
            if (player.ends != endsBefore) break;
            switch (random() % 6) {
                case 0:
                    if (player.IsPlaying()) {
                        note("pause, play");
                        player.SendCommand(cmd_pause);
                        Pump(int(random() % 20), [] { return false; });
                        player.SendCommand(cmd_play);
                    }
                    break;
                case 1:
                    if (player.IsPlaying()) {
                        note("stop, restart");
                        player.Stop();
                        Pump(500, [&] { return !player.IsPlaying(); });
                        player.Restart();
                    }
                    break;
                case 2: {
                    int at = int(random() % 100);
                    note("seek " + std::to_string(at) + "/100");
                    player.SendCommand(cmd_seek, at, 100);
                    break;
                }
                case 3: {
                    int level = int(random() % 101);
                    note("volume " + std::to_string(level));
                    player.SendCommand(cmd_set_output_volume, 50, level, 100);
                    break;
                }
                case 4:
                    note("ping");
                    player.SendCommand(cmd_ping, turns);
                    break;
                default:
                    if (chance(50)) {
                        note("reopen");
                        player.OpenSong(CMusicPlayer::SongPath(appDir, song.code));
                    }
                    break;
            }
        }

        // The song must keep moving: a stretch of ten seconds with no
        // position report and no end means the player is stuck.
        long lastPositions = -1;
        while (player.ends == endsBefore && player.failures.empty() && boxes.boxes.empty()) {
            lastPositions = player.positions;
            Pump(10000, [&] {
                return player.ends != endsBefore || player.positions != lastPositions ||
                       !player.failures.empty();
            });
            if (player.ends == endsBefore && player.positions == lastPositions) {
                player.failures.push_back("no progress for ten seconds (state " +
                                          std::to_string(player.m_nState) + ")");
            }
        }

        if (!player.failures.empty() || !boxes.boxes.empty()) {
            printf("FAILED in turn %ld, song %s\n", turns, song.code);
            for (const std::string& f : player.failures) printf("  %s\n", f.c_str());
            for (const ShownBox& b : boxes.boxes) printf("  box: %s\n", b.text.c_str());
            printf("  commands this turn:");
            for (const std::string& c : recent) printf(" [%s]", c.c_str());
            printf("\n");
            return 1;
        }

        long kib = ResidentKiB();
        if (turns == kSongCount) startKiB = kib;  // after one round of every song
        if (kib > peakKiB) peakKiB = kib;
        if (Clock::now() >= nextReport) {
            double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
            printf("%7.0f s  turns %6ld  songs ended %6ld  commands %6ld  resident %ld KiB\n",
                   elapsed, turns, player.ends, commands, kib);
            fflush(stdout);
            nextReport += std::chrono::seconds(10);
        }
    }

    player.SendStop();
    Pump(500, [] { return false; });
    long endKiB = ResidentKiB();
    printf("done: %ld turns, %ld songs played to their end, %ld commands, %ld pongs\n", turns,
           player.ends, commands, player.pongs);
    printf("resident memory: %ld KiB after the first round, %ld KiB at the end, peak %ld KiB\n",
           startKiB, endKiB, peakKiB);
    for (const auto& [what, times] : player.refusals)
        printf("refused: command %s, %ld times\n", what.c_str(), times);
    return 0;
}
