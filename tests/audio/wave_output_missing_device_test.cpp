// The wave output on SDL audio that finds no device: the layer answers the
// Windows code of a missing device and the player names it "no such
// device"; only a device that another program holds is busy.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>

#include "audio/engine.h"
#include "audio/errors.h"
#include "audio/modules/wave_output.h"
#include "audio/registry.h"

namespace {

struct Failure {
    const char* name;
    const char* driver;  // SDL_AUDIODRIVER
    const char* file;    // SDL_DISKAUDIOFILE, for the disk driver
};

// SDL's disk driver starts but cannot open its device when its file cannot
// be made: the case of a sound server that turns the program away. A
// driver that does not exist fails SDL's start itself.
const Failure kFailures[] = {
    {"DeviceDoesNotOpen", "disk", "/nonexistent-tintorama-folder/sound.raw"},
    {"DriverDoesNotExist", "no-such-driver", ""},
};

class MissingDevice : public ::testing::TestWithParam<Failure> {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", GetParam().driver, 1);
        setenv("SDL_DISKAUDIOFILE", GetParam().file, 1);
        ASSERT_TRUE(win::SetSoundBackend(win::SoundBackend::Sdl));
    }
    void TearDown() override { win::SetSoundBackend(win::SoundBackend::NullInstant); }
};

TEST_P(MissingDevice, IsNamedAsMissingNotBusy) {
    WAVEFORMATEX format{WAVE_FORMAT_PCM, 2, 44100, 44100 * 4, 4, 16, 0};
    HWAVEOUT wave = nullptr;
    EXPECT_EQ(MMSYSERR_NODRIVER, waveOutOpen(&wave, WAVE_MAPPER, &format, 0, 0, 0));
    EXPECT_EQ(MMSYSERR_BADDEVICEID, waveOutOpen(&wave, 0, &format, 0, 0, 0));
    EXPECT_EQ(nullptr, wave);

    OutputModule out{};
    wave_output_register(&out);
    Engine* engine = engine_create(nullptr);
    ModuleEntry entry{};
    void* instance = nullptr;
    ASSERT_EQ(out.new_instance(&instance, "/dev/wave/0", &entry, engine), 0);
    int result = out.open(instance);
    EXPECT_STREQ(error_name(result), "no such device");
    out.delete_instance(instance);
    engine_destroy(engine);
}

INSTANTIATE_TEST_SUITE_P(Sdl, MissingDevice, ::testing::ValuesIn(kFailures),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
