// The whole player: an MP3 file decoded on the player thread and written
// through the file output, driven by messages as the program drives it; and
// the message transport alone (a command and its acknowledgement).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "audio/control.h"
#include "support/reference_tools.h"
#include "support/temp_dir.h"
#include "support/wav.h"

namespace {

// Ten seconds of a two-tone stereo signal encoded by lame at 128 kbit/s.
const std::string& song() {
    static test_support::TempDir dir("bench_player");  // removed when the run ends
    static std::string path;
    if (!path.empty()) return path;
    const std::string wav = (dir / "song.wav").string(), mp3 = (dir / "song.mp3").string();
    const uint32_t rate = 44100, frames = rate * 10;
    std::vector<int16_t> samples;
    samples.reserve(size_t(frames) * 2);
    for (uint32_t i = 0; i < frames; ++i) {
        samples.push_back(static_cast<int16_t>(9000 * std::sin(i * 0.0627)));
        samples.push_back(static_cast<int16_t>(7000 * std::sin(i * 0.0411)));
    }
    if (test_support::WriteWav(wav, int(rate), 2, 16, samples) &&
        test_support::LameEncode(wav, mp3, "-b 128"))
        path = mp3;
    return path;
}

bool wait_code(PlayerControl* control, unsigned code, int value = -1) {
    PlayerMessage m;
    while (control_wait(control, &m, 10000000) == 0)
        if (m.code == code && (value < 0 || m.payload.byte == value)) return true;
    return false;
}

void PlayerDecodesToFile(benchmark::State& state) {
    if (song().empty()) {
        state.SkipWithError("lame is not installed");
        return;
    }
    PlayerControl* control = nullptr;
    if (player_start(&control, nullptr) != 0 || !wait_code(control, ntf_ready)) {
        state.SkipWithError("the player did not start");
        return;
    }
    control_send(control, cmd_set_output_name, "raw:/dev/null");
    for (auto _ : state) {
        control_send(control, cmd_input_open, song().c_str());
        control_send(control, cmd_play);
        if (!wait_code(control, ntf_player_state, 3)) {
            state.SkipWithError("no end of input");
            break;
        }
    }
    state.counters["x_real_time"] = benchmark::Counter(
        10.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    control_send(control, cmd_exit);
    wait_code(control, ntf_exited);
    player_stop(control);
}
BENCHMARK(PlayerDecodesToFile)->Unit(benchmark::kMillisecond)->UseRealTime();

void CommandRoundTrip(benchmark::State& state) {
    PlayerControl* control = nullptr;
    if (player_start(&control, nullptr) != 0 || !wait_code(control, ntf_ready)) {
        state.SkipWithError("the player did not start");
        return;
    }
    for (auto _ : state) {
        control_send(control, cmd_set_environment_string, "BENCH.NAME", "value");
        wait_code(control, ntf_ack);
    }
    control_send(control, cmd_exit);
    wait_code(control, ntf_exited);
    player_stop(control);
}
BENCHMARK(CommandRoundTrip)->UseRealTime();

}  // namespace
