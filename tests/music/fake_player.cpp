#include "fake_player.h"

#include <chrono>
#include <utility>

#include "backends/headless/headless.h"

namespace music_test {

void FakePlayer::Queue(std::function<void(PlayerControl*)> script) {
    std::lock_guard<std::mutex> hold(lock);
    scripts.push_back(std::move(script));
}

std::vector<Command> FakePlayer::Take() {
    std::lock_guard<std::mutex> hold(lock);
    return std::exchange(commands, {});
}

size_t FakePlayer::Count() {
    std::lock_guard<std::mutex> hold(lock);
    return commands.size();
}

namespace {

void Act(FakePlayer& fake, PlayerControl* control, const Command& c) {
    switch (c.code) {
        case cmd_input_open:
            if (c.text.find("missing") != std::string::npos) {
                fake.open = false;
                control_send(control, ntf_nack, cmd_input_open, -513);
            } else {
                fake.open = true;
                control_send(control, ntf_input_state, 0);
            }
            break;
        case cmd_play:
            if (fake.open)
                control_send(control, ntf_player_state, 1);
            else
                control_send(control, ntf_nack, cmd_play, -101);
            break;
        case cmd_stop:
            if (fake.open)
                control_send(control, ntf_player_state, 0);
            else
                control_send(control, ntf_nack, cmd_stop, -101);
            break;
        default: break;
    }
}

}  // namespace

int FakePlayerRoutine(PlayerControl* control, void* user) {
    FakePlayer& fake = *static_cast<FakePlayer*>(user);
    control_send(control, ntf_ready);
    PlayerMessage m;
    while (control_wait(control, &m, -1) == 0 && m.code != cmd_exit) {
        if (m.code == cmd_ping) {
            std::vector<std::function<void(PlayerControl*)>> scripts;
            {
                std::lock_guard<std::mutex> hold(fake.lock);
                scripts.swap(fake.scripts);
            }
            for (auto& script : scripts) script(control);
            control_send(control, ntf_pong, m.payload.value);
            continue;
        }
        Command c{m.code, 0, 0, {}};
        if (m.code == cmd_seek) {
            c.a = m.payload.values.a;
            c.b = m.payload.values.b;
        } else if (m.code == cmd_set_player_mode) {
            c.a = m.payload.value;
        } else if (m.code == cmd_input_open) {
            c.text = m.payload.text;
        }
        {
            std::lock_guard<std::mutex> hold(fake.lock);
            fake.commands.push_back(c);
        }
        if (fake.acts) Act(fake, control, c);
    }
    return 0;
}

bool PumpUntil(const std::function<bool()>& done, int seconds) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        headless::RunUntilIdle();
    }
    return true;
}

bool RoundTrip(ObservedPlayer& player) {
    static uint32_t tag = 0;
    uint32_t mine = ++tag;
    if (control_send(player.m_pControl, cmd_ping, mine) < 0) return false;
    return PumpUntil([&] { return player.lastPong == mine; });
}

bool Settle(ObservedPlayer& player, FakePlayer& fake) {
    if (!RoundTrip(player)) return false;
    size_t seen = fake.Count();
    for (;;) {
        if (!RoundTrip(player)) return false;
        size_t now = fake.Count();
        if (now == seen) return true;
        seen = now;
    }
}

}  // namespace music_test
