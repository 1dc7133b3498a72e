// One stream of PCM feeding the mixer: a waveOut handle or PlaySoundA's
// sound. It converts its own format to the device's (rate, channels, 8 to
// 16 bits) by linear interpolation, and applies its volume and rate factor.
// Every member is used under the mixer's lock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "sound/pcm_format.h"

namespace win::sound {

class Voice {
public:
    explicit Voice(const PcmFormat& format) : format_(format) {}
    virtual ~Voice() = default;
    Voice(const Voice&) = delete;
    Voice& operator=(const Voice&) = delete;

    const PcmFormat& format() const { return format_; }

    // Appends `bytes` of samples (whole frames are played, a partial last
    // frame is skipped). `tag` comes back through ChunkDone once played.
    // A looping chunk plays until Flush.
    void Queue(const uint8_t* data, size_t bytes, void* tag, bool loop = false);
    // Drops everything queued; returns the tags in queue order.
    std::vector<void*> Flush();

    bool paused() const { return paused_; }
    void set_paused(bool paused) { paused_ = paused; }
    bool HasQueued() const { return !queue_.empty(); }
    bool Active() const { return !paused_ && (have_current_ || !queue_.empty()); }

    // Channel gains, 0 … 0xFFFF (0xFFFF = unchanged samples).
    void SetVolume(uint16_t left, uint16_t right) {
        left_ = left;
        right_ = right;
    }
    uint16_t left_volume() const { return left_; }
    uint16_t right_volume() const { return right_; }
    // Speed factor in 16.16 fixed point (0x10000 = normal); must be > 0.
    void SetRate(uint32_t rate) { rate_ = rate; }
    uint32_t rate() const { return rate_; }

    // Source frames taken from the queue since creation or the last
    // ResetPosition.
    uint64_t frames_played() const { return frames_played_; }
    void ResetPosition() { frames_played_ = 0; }

    // Adds up to `frames` stereo frames at `device_rate` into `mix`
    // (interleaved left/right). Returns the frames produced; fewer than asked
    // means the queue ran dry. Finished chunks go to ChunkDone.
    size_t MixInto(int32_t* mix, size_t frames, int device_rate);

protected:
    // Called under the mixer's lock when a chunk has been played.
    virtual void ChunkDone(void* tag) = 0;

private:
    struct Chunk {
        const uint8_t* data;
        size_t bytes;
        size_t offset;
        void* tag;
        bool loop;
    };

    bool Pull(double frame[2]);
    bool Peek(double frame[2]) const;
    void Decode(const uint8_t* p, double frame[2]) const;

    PcmFormat format_;
    std::deque<Chunk> queue_;
    bool paused_ = false;
    uint16_t left_ = 0xFFFF;
    uint16_t right_ = 0xFFFF;
    uint32_t rate_ = 0x10000;
    uint64_t frames_played_ = 0;

    // The source frame being played and the position past it (0 … 1).
    bool have_current_ = false;
    double current_[2] = {0, 0};
    double fraction_ = 0;
};

}  // namespace win::sound
