// The wave output tells how long its queue takes to play: a network input
// asks it (through the engine) whether playback still has a lead.
#include <gtest/gtest.h>
#include <windows.h>

#include "audio/engine.h"
#include "audio/modules/wave_output.h"
#include "audio/registry.h"

namespace {

TEST(WaveOutputStatus, CountsTheSoundQueuedAndNotYetPlayed) {
    ASSERT_TRUE(win::SetSoundBackend(win::SoundBackend::NullInstant));
    OutputModule out{};
    wave_output_register(&out);
    Engine* engine = engine_create(nullptr);
    ModuleEntry entry{};
    void* instance = nullptr;
    ASSERT_EQ(out.new_instance(&instance, "", &entry, engine), 0);
    ASSERT_EQ(out.open(instance), 0);
    unsigned delay = 1;
    EXPECT_EQ(out.get_status(instance, &delay), 0);
    EXPECT_EQ(delay, 0u);

    out.set_control(instance, nullptr, control_pause);  // nothing plays while paused
    for (int i = 0; i < 3; i++) {
        void* block = out.get_buffer(instance, 4608);
        ASSERT_NE(block, nullptr);
        EXPECT_EQ(out.write(instance, block, 4608, 2, 1, 44100), 4608);
    }
    EXPECT_EQ(out.get_status(instance, &delay), 0);
    EXPECT_EQ(delay, 3u * 1152 * 1000000 / 44100);

    out.set_control(instance, nullptr, control_reset);  // the queue is discarded
    EXPECT_EQ(out.get_status(instance, &delay), 0);
    EXPECT_EQ(delay, 0u);
    out.close(instance);
    out.delete_instance(instance);
    engine_destroy(engine);
    win::SetSoundBackend(win::SoundBackend::Automatic);
}

}  // namespace
