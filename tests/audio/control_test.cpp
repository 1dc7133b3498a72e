// The message transport across two real threads: every payload shape both
// ways, refused codes, the string area's limits, stopping a player that
// hangs, and a storm of messages with no copy leaked. Also the error names.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "audio/control.h"
#include "audio/control_internal.h"
#include "audio/errors.h"
#include "audio/message.h"

namespace {

// What the player thread received, with its strings and blocks copied.
struct Received {
    PlayerMessage message;
    std::string a, b;
    std::vector<uint8_t> block;
};

// A player routine of our own: it records every message it receives, runs
// the closures the test queued whenever a cmd_ping arrives (so the test can
// make it send notifications from the player thread) and answers the ping
// with ntf_pong.
struct ScriptedPlayer {
    std::mutex lock;
    std::vector<Received> received;
    std::vector<std::function<void(PlayerControl*)>> scripts;
    std::atomic<bool> hang{false};
    std::atomic<bool> finished{false};

    void queue(std::function<void(PlayerControl*)> f) {
        std::lock_guard<std::mutex> hold(lock);
        scripts.push_back(std::move(f));
    }
};

void copy_out(const PlayerMessage& m, Received* r) {
    const PlayerPayload& p = m.payload;
    auto s = [](const char* t) { return std::string(t ? t : "(null)"); };
    switch (m.code) {
        case cmd_input_open:
        case cmd_input_module_register: r->a = s(p.text); break;
        case cmd_input_filter_add: r->a = s(p.named.text); break;
        case cmd_set_environment_integer: r->a = s(p.text_value.text); break;
        case cmd_set_environment_string:
            r->a = s(p.texts.a);
            r->b = s(p.texts.b);
            break;
        case cmd_input_send_message:
            if (p.block.data) {
                const uint8_t* d = static_cast<const uint8_t*>(p.block.data);
                r->block.assign(d, d + p.block.size);
            }
            break;
        case cmd_set_codec_equalizer:
            if (p.equalizer) {
                const uint8_t* d = static_cast<const uint8_t*>(p.equalizer);
                r->block.assign(d, d + 64);
            }
            break;
        default: break;
    }
}

int scripted_routine(PlayerControl* control, void* user) {
    ScriptedPlayer* player = static_cast<ScriptedPlayer*>(user);
    control_send(control, ntf_ready);
    PlayerMessage m;
    while (control_wait(control, &m, -1) == 0) {
        if (m.code == cmd_exit) break;
        if (m.code == cmd_ping) {
            std::vector<std::function<void(PlayerControl*)>> scripts;
            {
                std::lock_guard<std::mutex> hold(player->lock);
                scripts.swap(player->scripts);
            }
            for (auto& f : scripts) f(control);
            control_send(control, ntf_pong, m.payload.value);
            continue;
        }
        Received r{m, {}, {}, {}};
        copy_out(m, &r);
        std::lock_guard<std::mutex> hold(player->lock);
        player->received.push_back(r);
    }
    while (player->hang) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    control_send(control, ntf_exited);
    player->finished = true;
    return 0;
}

class Transport : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(control_start(&control, nullptr, scripted_routine, &player), 0);
        PlayerMessage m;
        ASSERT_EQ(control_wait(control, &m, 5000000), 0);
        ASSERT_EQ(m.code, ntf_ready);
    }
    void TearDown() override {
        if (!control) return;
        control_send(control, cmd_exit);
        drain_until(ntf_exited);
        EXPECT_EQ(control_stop(control), 0);
    }

    // Waits for the player to have handled everything sent so far.
    void sync() {
        static uint32_t tag = 0;
        ++tag;
        ASSERT_EQ(control_send(control, cmd_ping, tag), 0);
        PlayerMessage m;
        do {
            ASSERT_EQ(control_wait(control, &m, 5000000), 0);
            if (m.code != ntf_pong) notes.push_back(m);
        } while (m.code != ntf_pong || m.payload.value != tag);
    }
    void drain_until(unsigned code) {
        PlayerMessage m;
        while (control_wait(control, &m, 5000000) == 0 && m.code != code) {}
    }
    Received last() {
        std::lock_guard<std::mutex> hold(player.lock);
        return player.received.back();
    }
    size_t received_count() {
        std::lock_guard<std::mutex> hold(player.lock);
        return player.received.size();
    }

    ScriptedPlayer player;
    PlayerControl* control = nullptr;
    std::vector<PlayerMessage> notes;  // notifications seen by sync()
};

TEST_F(Transport, CommandValuesRoundTrip) {
    control_send(control, cmd_seek, 0xFFFFFFFFu, 0x80000000u);
    sync();
    EXPECT_EQ(last().message.payload.values.a, 0xFFFFFFFFu);
    EXPECT_EQ(last().message.payload.values.b, 0x80000000u);

    for (uint32_t mask : {0u, 1u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 0xDEADBEEFu}) {
        control_send(control, cmd_set_notification_mask, mask);
        sync();
        EXPECT_EQ(last().message.payload.value, mask);
    }
    control_send(control, cmd_set_player_mode, 0xFFFFFFF0u);
    sync();
    EXPECT_EQ(last().message.payload.value, 0xFFFFFFF0u);

    control_send(control, cmd_input_module_query, -2);  // short, sign-extended
    sync();
    EXPECT_EQ(last().message.payload.short_value, -2);

    control_send(control, cmd_set_output_volume, 30, 200, 100);  // balance, PCM, master
    sync();
    EXPECT_EQ(last().message.payload.volume.balance, 30);
    EXPECT_EQ(last().message.payload.volume.pcm_level, 200);
    EXPECT_EQ(last().message.payload.volume.master_level, 100);
    EXPECT_EQ(last().message.payload.bytes[2], 30) << "balance is payload byte 2";

    control_send(control, cmd_set_codec_quality, 0x1FF);  // a byte: the low 8 bits
    sync();
    EXPECT_EQ(last().message.payload.byte, 0xFF);

    control_send(control, cmd_set_environment_integer, "A.B", -7);
    sync();
    EXPECT_EQ(last().a, "A.B");
    EXPECT_EQ(static_cast<int32_t>(last().message.payload.text_value.value), -7);

    control_send(control, cmd_input_filter_add, "spec", -1);
    sync();
    EXPECT_EQ(last().a, "spec");
    EXPECT_EQ(last().message.payload.named.id, -1);
}

TEST_F(Transport, StringsAndBlocks) {
    control_send(control, cmd_input_open, static_cast<const char*>(nullptr));
    sync();
    EXPECT_EQ(last().a, "") << "a null string arrives as the empty string";

    std::string long_text(5000, 'x');
    control_send(control, cmd_input_open, long_text.c_str());
    sync();
    EXPECT_EQ(last().a, std::string(4095, 'x')) << "cut at 4095 characters";

    // Two strings that overflow the area: the second is cut to what fits.
    std::string first(3000, 'a'), second(3000, 'b');
    control_send(control, cmd_set_environment_string, first.c_str(), second.c_str());
    sync();
    EXPECT_EQ(last().a, first);
    EXPECT_EQ(last().b, std::string(4096 - 3001 - 1, 'b'));
    std::string huge(4200, 'c');
    control_send(control, cmd_set_environment_string, huge.c_str(), "lost");
    sync();
    EXPECT_EQ(last().a.size(), 4095u);
    EXPECT_EQ(last().b, "") << "no room is left for the second";
    control_send(control, cmd_set_environment_string, nullptr, "v");
    sync();
    EXPECT_EQ(last().a, "");
    EXPECT_EQ(last().b, "v");

    std::vector<uint8_t> data(5000);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7);
    control_send(control, cmd_input_send_message, 9, data.data(), 300);
    sync();
    EXPECT_EQ(last().message.payload.block.type, 9);
    EXPECT_EQ(last().message.payload.block.size, 300);
    EXPECT_EQ(last().block, std::vector<uint8_t>(data.begin(), data.begin() + 300));
    control_send(control, cmd_input_send_message, 1, data.data(), 4096);
    sync();
    EXPECT_EQ(last().block.size(), 4096u);
    control_send(control, cmd_input_send_message, 1, data.data(), 5000);
    sync();
    EXPECT_EQ(last().message.payload.block.size, 4096) << "a block past the area is cut";
    EXPECT_EQ(last().block, std::vector<uint8_t>(data.begin(), data.begin() + 4096));
    control_send(control, cmd_input_send_message, 2, nullptr, 10);
    sync();
    EXPECT_EQ(last().message.payload.block.data, nullptr);
    EXPECT_EQ(last().message.payload.block.size, 0);

    signed char bands[64];
    for (int i = 0; i < 64; ++i) bands[i] = static_cast<signed char>(i - 32);
    control_send(control, cmd_set_codec_equalizer, bands);
    sync();
    ASSERT_EQ(last().block.size(), 64u);
    EXPECT_EQ(static_cast<signed char>(last().block[0]), -32);
    control_send(control, cmd_set_codec_equalizer, nullptr);
    sync();
    EXPECT_EQ(last().message.payload.equalizer, nullptr);
}

TEST_F(Transport, NotificationShapesRoundTrip) {
    player.queue([](PlayerControl* c) {
        control_send(c, ntf_nack, 7, -513);
        control_send(c, ntf_input_timecode, 1, 2, 3, 99);
        control_send(c, ntf_input_stream_info, 2, 3, 320, 48000, 1);
        control_send(c, ntf_input_module_info, 1, 2, "Input From File", "Version 1.2");
        control_send(c, ntf_input_device_info, 1, 0, 1, "*", "any file name");
        control_send(c, ntf_output_balance, 77);
        control_send(c, ntf_output_pcm_level, 66);
        control_send(c, ntf_progress, 3, 4, -300, "buffering");
        control_send(c, ntf_debug, 5, 6, "a debug text");
        control_send(c, ntf_error, 7, -201, "connect failed");
        control_send(c, ntf_input_module, -1);
        control_send(c, ntf_input_duration, 0xFFFFFFFFu);
        control_send(c, ntf_input_position, 400, 400);
    });
    sync();
    ASSERT_EQ(notes.size(), 13u);
    const PlayerPayload* p = &notes[0].payload;
    EXPECT_EQ(notes[0].code, ntf_nack);
    EXPECT_EQ(p->byte_short.a, 7);
    EXPECT_EQ(p->byte_short.b, -513);
    p = &notes[1].payload;
    EXPECT_EQ(p->four[0], 1);
    EXPECT_EQ(p->four[3], 99);
    p = &notes[2].payload;
    EXPECT_EQ(p->stream_info.level, 2);
    EXPECT_EQ(p->stream_info.layer, 3);
    EXPECT_EQ(p->stream_info.bitrate, 320);
    EXPECT_EQ(p->stream_info.frequency, 48000);
    EXPECT_EQ(p->stream_info.mode, 1);
    // Strings of one notification stay valid until the next one with
    // strings is unpacked; these were all unpacked before we look, so only
    // the last string-carrying message's text can be checked here.
    EXPECT_EQ(notes[3].payload.module_info.id, 1);
    EXPECT_EQ(notes[3].payload.module_info.count, 2);
    EXPECT_EQ(notes[4].payload.device_info.flags, 1);
    EXPECT_EQ(notes[5].payload.bytes[2], 77);
    EXPECT_EQ(notes[6].payload.bytes[1], 66);
    EXPECT_EQ(notes[7].payload.progress.value, -300);
    EXPECT_EQ(notes[7].payload.progress.code, 4);
    EXPECT_EQ(notes[8].payload.debug.level, 6);
    EXPECT_EQ(notes[9].payload.error.code, -201);
    EXPECT_STREQ(notes[9].payload.error.text, "connect failed");
    EXPECT_EQ(notes[10].payload.short_value, -1);
    EXPECT_EQ(notes[11].payload.value, 0xFFFFFFFFu);
    EXPECT_EQ(notes[12].payload.values.a, 400u);

    // A pair arrives with both strings in the area.
    player.queue([](PlayerControl* c) {
        control_send(c, ntf_output_module_info, 0, 3, "Output To File", "Version 1.2");
    });
    sync();
    EXPECT_STREQ(notes.back().payload.module_info.name, "Output To File");
    EXPECT_STREQ(notes.back().payload.module_info.description, "Version 1.2");
}

TEST_F(Transport, RefusedCodesPostNothing) {
    for (unsigned code : {0u, 89u, 109u, 110u, 111u, 114u, 1000u}) {
        EXPECT_EQ(control_send(control, code, 1, 2), -306) << code;
        EXPECT_EQ(control_drop(control, code, 1, 2), -306) << code;
    }
    EXPECT_EQ(control_drop(control, ntf_output_pcm_snapshot, 1, 2, 2, 256, nullptr), 0);
    size_t before = received_count();
    sync();
    EXPECT_EQ(received_count(), before);
    EXPECT_TRUE(notes.empty());

    // Codes that carry no payload through this transport arrive empty.
    control_send(control, 107u, 5, 6, 7, 8, nullptr);
    control_send(control, 113u, 5, 6, 7);
    sync();
    EXPECT_EQ(last().message.code, 113u);
    EXPECT_EQ(last().message.payload.three.a, 0u);
}

TEST_F(Transport, SendingFromAThreadWithoutAChannelFails) {
    int result = 0;
    std::thread other([&] { result = control_send(control, cmd_ping, 1); });
    other.join();
    EXPECT_EQ(result, -1);
}

TEST_F(Transport, WaitTimesOut) {
    PlayerMessage m;
    EXPECT_EQ(control_wait(control, &m, 20000), -103);
    EXPECT_EQ(control_poll(control, &m), 0);
    player.queue([](PlayerControl* c) { control_send(c, ntf_player_state, 2); });
    control_send(control, cmd_ping, 5);
    ASSERT_EQ(control_wait(control, &m, 5000000), 0);
    EXPECT_EQ(m.code, ntf_player_state);
    ASSERT_EQ(control_wait(control, &m, 5000000), 0);
    EXPECT_EQ(m.code, ntf_pong);
}

// 100 000 commands with strings one way, 100 000 notifications the other;
// under the sanitizer build a leaked copy fails the run.
TEST_F(Transport, StormOfMessagesBothWays) {
    constexpr int total = 100000, batch = 2000;
    for (int sent = 0; sent < total; sent += batch) {
        for (int i = 0; i < batch; ++i)
            ASSERT_EQ(control_send(control, cmd_input_open, "storm"), 0);
        player.queue([](PlayerControl* c) {
            for (int i = 0; i < batch; ++i) control_send(c, ntf_input_name, "back");
        });
        notes.clear();
        sync();
        ASSERT_EQ(notes.size(), static_cast<size_t>(batch));
        EXPECT_STREQ(notes.back().payload.text, "back");
    }
    EXPECT_EQ(received_count(), static_cast<size_t>(total));
}

TEST(TransportStop, ReturnsWithinTenSecondsWhenThePlayerHangs) {
    ScriptedPlayer player;
    player.hang = true;
    PlayerControl* control = nullptr;
    ASSERT_EQ(control_start(&control, nullptr, scripted_routine, &player), 0);
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(control_stop(control), 0);
    auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_LT(waited, std::chrono::seconds(12));
    EXPECT_FALSE(player.finished);
    // Let it go; it must end cleanly although the control was stopped.
    player.hang = false;
    while (!player.finished) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    // Its notifications went to this thread's queue: collect and free them.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, player_message_base, player_message_last, PM_REMOVE))
        message_discard(msg.message, msg.lParam);
}

// The player thread cannot allocate its channel: the player never runs, and
// the start says so instead of handing back a control nobody answers.
TEST(TransportStart, RefusedWhenThePlayerThreadCannotSetUp) {
    ScriptedPlayer player;
    auto refuse = [](size_t, size_t) -> void* { return nullptr; };
    audio::allocate_channel = refuse;
    PlayerControl* control = reinterpret_cast<PlayerControl*>(1);
    int result = control_start(&control, nullptr, scripted_routine, &player);
    audio::allocate_channel = calloc;
    EXPECT_EQ(result, -100);
    EXPECT_EQ(control, nullptr);
    EXPECT_FALSE(player.finished) << "the routine never ran";

    // The next start works as usual.
    ASSERT_EQ(control_start(&control, nullptr, scripted_routine, &player), 0);
    EXPECT_EQ(control_stop(control), 0);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, player_message_base, player_message_last, PM_REMOVE))
        message_discard(msg.message, msg.lParam);
}

// The Windows message's parameters themselves: a round trip cannot catch a
// layout that is wrong the same way on both ends.
TEST(WireLayout, PackedParameters) {
    auto pack = [](unsigned code, std::initializer_list<ControlArg> args, WPARAM* w, LPARAM* l) {
        PlayerMessage m{};
        ASSERT_EQ(message_build(code, args.begin(), static_cast<int>(args.size()), &m), 0);
        ASSERT_EQ(message_pack(&m, w, l), 0);
    };
    WPARAM w = 0;
    LPARAM l = 0;
    pack(cmd_set_output_volume, {30, 200, 100}, &w, &l);  // balance, PCM, master
    EXPECT_EQ(w, 30u | 200u << 8 | 100u << 16) << "wParam bytes 0, 1, 2 are payload bytes 2, 1, 0";
    EXPECT_EQ(l, 0);
    pack(ntf_input_stream_info, {2, 3, 320, 48000, 1}, &w, &l);
    EXPECT_EQ(w, 2u | 3u << 8 | 1u << 16) << "level, layer, mode";
    EXPECT_EQ(static_cast<uint32_t>(l), 320u | 48000u << 16) << "bit rate low, frequency high";
    pack(ntf_nack, {7, -513}, &w, &l);
    EXPECT_EQ(w, 7u);
    EXPECT_EQ(l, -513) << "the error code is sign-extended";
    pack(ntf_input_module, {-1}, &w, &l);
    EXPECT_EQ(static_cast<intptr_t>(w), -1);
    pack(ntf_input_timecode, {1, 2, 3, 99}, &w, &l);
    EXPECT_EQ(w, 1u | 2u << 8 | 3u << 16 | 99u << 24);

    // And the way back from raw parameters.
    char area[control_string_area];
    PlayerMessage m{};
    message_unpack_into(UINT(player_message_base) + ntf_input_stream_info, 0x020103,
                        (44100 << 16) | 128, area, &m);
    EXPECT_EQ(m.payload.stream_info.level, 3);
    EXPECT_EQ(m.payload.stream_info.layer, 1);
    EXPECT_EQ(m.payload.stream_info.mode, 2);
    EXPECT_EQ(m.payload.stream_info.bitrate, 128);
    EXPECT_EQ(m.payload.stream_info.frequency, 44100);
    message_unpack_into(UINT(player_message_base) + cmd_set_output_volume, 0x0A1420, 0, area, &m);
    EXPECT_EQ(m.payload.bytes[2], 0x20) << "balance";
    EXPECT_EQ(m.payload.bytes[1], 0x14) << "PCM level";
    EXPECT_EQ(m.payload.bytes[0], 0x0A) << "master level";
}

TEST(LibraryVersion, Kinds) {
    EXPECT_EQ(library_version(1), 0x30100);
    EXPECT_EQ(library_version(2), 0x30200);
    EXPECT_EQ(library_version(3), 0);
}

TEST(ErrorNames, TableAndGroups) {
    EXPECT_STREQ(error_name(-513), "no such file");
    EXPECT_STREQ(error_name(-199), "");
    EXPECT_STREQ(error_name(-900), "unknown error");
    EXPECT_STREQ(error_name(5), "");
    EXPECT_STREQ(error_name(0), "");
    EXPECT_STREQ(error_name(-1), "unknown error");
    EXPECT_STREQ(error_name(-100), "out of memory");
    EXPECT_STREQ(error_name(-214), "ftp error");
    EXPECT_STREQ(error_name(-215), "");
    EXPECT_STREQ(error_name(-308), "post failed");
    EXPECT_STREQ(error_name(-401), "invalid url syntax");
    EXPECT_STREQ(error_name(-505), "no such device");
    EXPECT_STREQ(error_name(-514), "input end");
    EXPECT_STREQ(error_name(-600), "invalid frame");
    EXPECT_STREQ(error_name(-701), "symbol not found");
    EXPECT_STREQ(error_name(-801), "invalid environment variable type");
    EXPECT_STREQ(error_name(-802), "");
    EXPECT_STREQ(error_name(INT32_MIN), "unknown error");
}

}  // namespace
