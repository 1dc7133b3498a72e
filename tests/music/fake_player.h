// A player routine of the tests' own, run on a real player thread through
// control_start, and the music player that the tests drive with it.
#pragma once
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "music/music_player.h"

namespace music_test {

struct Command {
    unsigned code;
    uint32_t a = 0, b = 0;  // values of cmd_seek and cmd_set_player_mode
    std::string text;       // the name of cmd_input_open
};

// Records every command it receives (except cmd_ping). On cmd_ping it first
// runs what the test queued, so that the test can have notifications sent
// from the player thread, then answers ntf_pong. With `acts` it also
// behaves like a player: opening an input reports input state 0 (or a nack
// with -513 for a name holding "missing"), play reports state 1, stop state
// 0, and stop with nothing open is refused with -101.
struct FakePlayer {
    bool acts = false;

    void Queue(std::function<void(PlayerControl*)> script);
    std::vector<Command> Take();  // the commands received so far, forgotten
    size_t Count();

    // Internal to the routine.
    std::mutex lock;
    std::vector<Command> commands;
    std::vector<std::function<void(PlayerControl*)>> scripts;
    bool open = false;
};

int FakePlayerRoutine(PlayerControl* control, void* fakePlayer);

// A CMusicPlayer that also notes the last pong, so a test knows when every
// notification sent before it was handled.
class ObservedPlayer : public CMusicPlayer {
public:
    explicit ObservedPlayer(FakePlayer* fake) : CMusicPlayer(nullptr, FakePlayerRoutine, fake) {}
    explicit ObservedPlayer(std::nullptr_t) : CMusicPlayer(nullptr) {}  // the real engine
    ObservedPlayer(player_routine routine, void* user) : CMusicPlayer(nullptr, routine, user) {}
    void OnPong(uint32_t tag) override { lastPong = tag; }
    uint32_t lastPong = 0;
};

// Runs this thread's messages until `done` holds or `seconds` pass.
bool PumpUntil(const std::function<bool()>& done, int seconds = 10);
// A ping round trip through the player: when it returns, the player has
// handled every command sent before, and this thread every notification
// that the player sent before its pong.
bool RoundTrip(ObservedPlayer& player);
// Round trips until the fake player receives nothing new: the commands that
// handlers sent in answer to notifications have arrived too.
bool Settle(ObservedPlayer& player, FakePlayer& fake);

}  // namespace music_test
