// WAVE images from files and resources: read them, then mix what was read,
// so that both the chunk walk and the sample decoding see hostile data.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sound/pcm_format.h"
#include "sound/voice.h"

namespace {

class FuzzVoice : public win::sound::Voice {
public:
    using Voice::Voice;
    int done = 0;

protected:
    void ChunkDone(void*) override { ++done; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    win::sound::WaveImage wave;
    if (!win::sound::ParseWave(data, size, &wave)) return 0;
    FuzzVoice voice(wave.format);
    voice.Queue(wave.samples, wave.bytes, nullptr);
    // Odd rate factors and volumes from the image's own bytes.
    voice.SetRate(0x4000 + uint32_t(data[size - 1]) * 0x400);
    voice.SetVolume(uint16_t(data[size / 2] * 257), 0xFFFF);
    std::vector<int32_t> mix(2 * 1024);
    while (voice.MixInto(mix.data(), 1024, 44100) == 1024) {}
    if (voice.done != 1) __builtin_trap();
    return 0;
}
