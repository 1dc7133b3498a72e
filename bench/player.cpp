// The whole player: an MP3 file decoded on the player thread and written
// through the file output, driven by messages as the program drives it; and
// the message transport alone (a command and its acknowledgement).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "audio/control.h"

namespace {

// Ten seconds of a two-tone stereo signal encoded by lame at 128 kbit/s.
const std::string& song() {
    static std::string path;
    if (!path.empty()) return path;
    std::string wav = "/tmp/bench_player_" + std::to_string(getpid()) + ".wav";
    FILE* f = fopen(wav.c_str(), "wb");
    if (!f) return path;
    const uint32_t rate = 44100, frames = rate * 10;
    auto put32 = [&](uint32_t v) { fwrite(&v, 4, 1, f); };
    auto put16 = [&](uint16_t v) { fwrite(&v, 2, 1, f); };
    fwrite("RIFF", 1, 4, f);
    put32(36 + frames * 4);
    fwrite("WAVEfmt ", 1, 8, f);
    put32(16);
    put16(1);
    put16(2);
    put32(rate);
    put32(rate * 4);
    put16(4);
    put16(16);
    fwrite("data", 1, 4, f);
    put32(frames * 4);
    for (uint32_t i = 0; i < frames; ++i) {
        put16(static_cast<uint16_t>(static_cast<int16_t>(9000 * std::sin(i * 0.0627))));
        put16(static_cast<uint16_t>(static_cast<int16_t>(7000 * std::sin(i * 0.0411))));
    }
    fclose(f);
    std::string mp3 = wav.substr(0, wav.size() - 4) + ".mp3";
    std::string command = "lame --quiet -b 128 " + wav + " " + mp3;
    if (system(command.c_str()) == 0) path = mp3;
    remove(wav.c_str());
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
    state.counters["x_real_time"] =
        benchmark::Counter(10.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
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
