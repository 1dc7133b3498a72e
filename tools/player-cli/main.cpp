// player-cli: plays an MPEG audio file, standard input or URL to the
// default output, or converts it to a WAV or raw PCM file, through the same
// player thread and messages the program uses.
//
//   player-cli [-q] [-v] [-t] INPUT [OUTPUT]
//
// OUTPUT is an output name ("wav:song.wav", "raw:song.pcm", "-" for
// standard output); a bare name ending in ".wav" is written as WAV.
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "audio/control.h"
#include "audio/engine.h"
#include "audio/errors.h"

namespace {

// Ctrl-C (or SIGTERM) ends the session through the player, so that an
// output file is closed properly (a WAV file gets its sizes) before exit.
volatile sig_atomic_t g_interrupted = 0;

void on_interrupt(int) { g_interrupted = 1; }

void catch_interrupts() {
    struct sigaction action = {};
    action.sa_handler = on_interrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

struct Options {
    bool quiet = false;
    bool verbose = false;
    bool timing = false;
    const char* input = nullptr;
    std::string output;
};

// Named as it was called: installed, the tool is tintorama-player.
int usage(const char* self) {
    const char* slash = self ? strrchr(self, '/') : nullptr;
    fprintf(stderr,
            "usage: %s [-q] [-v] [-t] INPUT [OUTPUT]\n"
            "  INPUT   a file, - for standard input, or a URL\n"
            "  OUTPUT  wav:FILE, raw:FILE, FILE.wav, FILE (raw) or - (standard output);\n"
            "          without it the stream plays on the default output\n"
            "  -q      no progress line   -v  the player's debug messages   -t  decoding speed\n",
            slash  ? slash + 1
            : self ? self
                   : "player-cli");
    return 2;
}

bool parse(int argc, char** argv, Options* o) {
    int i = 1;
    for (; i < argc && argv[i][0] == '-' && argv[i][1]; ++i) {
        if (!strcmp(argv[i], "-q"))
            o->quiet = true;
        else if (!strcmp(argv[i], "-v"))
            o->verbose = true;
        else if (!strcmp(argv[i], "-t"))
            o->timing = true;
        else if (!strcmp(argv[i], "--")) {
            ++i;
            break;
        } else
            return false;
    }
    if (i >= argc || argc - i > 2) return false;
    o->input = argv[i];
    if (i + 1 < argc) {
        o->output = argv[i + 1];
        bool prefixed = o->output.find(':') != std::string::npos && o->output.find(':') < 5;
        size_t n = o->output.size();
        if (!prefixed && n > 4 && o->output.compare(n - 4, 4, ".wav") == 0)
            o->output = "wav:" + o->output;
    }
    return true;
}

const char* command_name(unsigned code) {
    switch (code) {
        case cmd_input_open: return "open the input";
        case cmd_set_output_name: return "open the output";
        case cmd_play: return "play";
        default: return "a command";
    }
}

const char* mode_name(int mode) {
    static const char* const names[] = {"stereo", "joint stereo", "dual channel", "mono"};
    return mode >= 0 && mode < 4 ? names[mode] : "?";
}

const char* level_name(int level) { return level == 1 ? "1" : level == 2 ? "2" : "2.5"; }

class Session {
public:
    explicit Session(const Options& o) : options(o) {}

    int run() {
        int result = player_start(&control, nullptr);
        if (result < 0) {
            fprintf(stderr, "player-cli: cannot start the player: %s\n", error_name(result));
            return 1;
        }
        int status = talk();
        player_stop(control);
        return status;
    }

private:
    int talk() {
        if (!wait_ready()) return 1;
        control_send(control, cmd_set_debug_level, options.verbose ? 9 : 0);
        control_send(control, cmd_set_player_mode, 0x4);  // drain and close at the end
        // Each notification wakes this thread: the position is never shown,
        // and the time only with the progress line.
        unsigned mask = 0xFFFFFFFFu & ~static_cast<unsigned>(mask_input_position);
        if (options.quiet) mask &= ~static_cast<unsigned>(mask_input_timecode);
        control_send(control, cmd_set_notification_mask, mask);
        use_proxy_from_environment();
        control_send(control, cmd_set_output_name, options.output.c_str());
        // Play is sent once the input has opened (its ack): queued behind a
        // failed open it would open the input a second time.
        control_send(control, cmd_input_open, options.input);
        started = std::chrono::steady_clock::now();

        PlayerMessage m;
        for (;;) {
            int r = control_wait(control, &m, 100000);
            if (g_interrupted) {
                end_progress();
                control_send(control, cmd_stop);  // what is queued for the device goes unheard
                return 130;                       // the shell's status for an interrupted command
            }
            if (r == err_timeout) continue;
            if (r < 0) {
                fprintf(stderr, "player-cli: lost the player: %s\n", error_name(r));
                return 1;
            }
            int done = handle(m);
            if (done >= 0) return done;
        }
    }

    bool wait_ready() {
        PlayerMessage m;
        int r = control_wait(control, &m, 5000000);
        if (r < 0 || m.code != ntf_ready) {
            fprintf(stderr, "player-cli: the player did not start\n");
            return false;
        }
        return true;
    }

    // http_proxy ("http://host:port/" or "host:port"), as other command-line
    // tools read it, becomes the player's HTTP proxy.
    void use_proxy_from_environment() {
        const char* value = getenv("http_proxy");
        if (!value || !*value) return;
        std::string proxy = value;
        if (proxy.compare(0, 7, "http://") == 0) proxy.erase(0, 7);
        proxy = proxy.substr(0, proxy.find('/'));
        int port = 80;
        size_t colon = proxy.rfind(':');
        if (colon != std::string::npos) {
            port = atoi(proxy.c_str() + colon + 1);
            proxy.erase(colon);
        }
        if (proxy.empty()) return;
        control_send(control, cmd_set_environment_string, "NETWORK.HTTP.PROXY.HOSTNAME",
                     proxy.c_str());
        control_send(control, cmd_set_environment_integer, "NETWORK.HTTP.PROXY.PORT", port);
    }

    // Returns the exit status when the session is over, -1 to go on.
    int handle(const PlayerMessage& m) {
        const PlayerPayload& p = m.payload;
        switch (m.code) {
            case ntf_ack:
                if (p.byte == cmd_input_open) control_send(control, cmd_play);
                return -1;
            case ntf_nack:
                end_progress();
                fprintf(stderr, "player-cli: cannot %s: %s", command_name(p.byte_short.a),
                        error_name(p.byte_short.b));
                if (!last_debug.empty() && !options.verbose)
                    fprintf(stderr, " (%s)", last_debug.c_str());
                fputc('\n', stderr);
                return 1;
            case ntf_debug:
                // Shown with -v; otherwise kept to explain a failure.
                last_debug = p.debug.text;
                if (options.verbose) {
                    end_progress();
                    fprintf(stderr, "player-cli: %s\n", p.debug.text);
                }
                return -1;
            case ntf_error:
                end_progress();
                fprintf(stderr, "player-cli: error %d (%s): %s\n", p.error.code,
                        error_name(p.error.code), p.error.text);
                return -1;
            case ntf_input_duration: duration = static_cast<int>(p.value); return -1;
            case ntf_input_stream_info:
                if (!options.quiet) {
                    end_progress();
                    fprintf(stderr, "MPEG-%s Layer %d, %d kbit/s, %d Hz, %s\n",
                            level_name(p.stream_info.level), p.stream_info.layer,
                            p.stream_info.bitrate, p.stream_info.frequency,
                            mode_name(p.stream_info.mode));
                }
                return -1;
            case ntf_input_timecode:
                last_time[0] = p.four[0];
                last_time[1] = p.four[1];
                last_time[2] = p.four[2];
                show_progress();
                return -1;
            case ntf_progress:
                // A stream's buffer: its fill level while it starves.
                if (p.progress.code == 21) buffering = p.progress.value;
                if (p.progress.code == 20 || p.progress.code == 22) buffering = -1;
                if (p.progress.code == 21 || p.progress.code == 20) show_progress();
                return -1;
            case ntf_player_state:
                if (p.byte == 3) at_end = true;
                return -1;
            case ntf_output_state:
                if (p.byte == 1 && at_end) return finish();
                return -1;
            default: return -1;
        }
    }

    void show_progress() {
        if (options.quiet) return;
        fprintf(stderr, "\r%02d:%02d:%02d / %02d:%02d:%02d", last_time[0], last_time[1],
                last_time[2], duration / 3600, duration / 60 % 60, duration % 60);
        if (buffering >= 0)
            fprintf(stderr, "  buffering %3d%%", buffering);
        else
            fputs("                ", stderr);
        progress_shown = true;
    }

    void end_progress() {
        if (progress_shown) fputc('\n', stderr);
        progress_shown = false;
    }

    int finish() {
        end_progress();
        if (options.timing) {
            double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
            fprintf(stderr, "decoded in %.3f s", seconds);
            if (duration > 0 && seconds > 0)
                fprintf(stderr, " (%.1f x real time)", duration / seconds);
            fputc('\n', stderr);
        }
        return 0;
    }

    Options options;
    PlayerControl* control = nullptr;
    int duration = 0;
    int last_time[3] = {0, 0, 0};
    int buffering = -1;  // percent while a stream fills its buffer
    bool at_end = false;
    bool progress_shown = false;
    std::string last_debug;
    std::chrono::steady_clock::time_point started;
};

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, &options)) return usage(argc > 0 ? argv[0] : nullptr);
    catch_interrupts();
    return Session(options).run();
}
