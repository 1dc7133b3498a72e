#include "sound/voice.h"

#include <cmath>

namespace win::sound {

void Voice::Queue(const uint8_t* data, size_t bytes, void* tag, bool loop) {
    queue_.push_back(Chunk{data, bytes, 0, tag, loop});
}

std::vector<void*> Voice::Flush() {
    std::vector<void*> tags;
    for (const Chunk& c : queue_) tags.push_back(c.tag);
    queue_.clear();
    have_current_ = false;
    fraction_ = 0;
    return tags;
}

void Voice::Decode(const uint8_t* p, double frame[2]) const {
    for (int ch = 0; ch < format_.channels; ++ch) {
        if (format_.bits == 8)
            frame[ch] = (int(p[ch]) - 128) * 256;
        else
            frame[ch] = int16_t(uint16_t(p[2 * ch] | p[2 * ch + 1] << 8));
    }
    if (format_.channels == 1) frame[1] = frame[0];
}

// Takes the next frame off the queue. A chunk counts as played once the
// frame after its last one is asked for, so its done flag never runs ahead
// of the samples already mixed.
bool Voice::Pull(double frame[2]) {
    const size_t step = size_t(format_.FrameBytes());
    while (!queue_.empty()) {
        Chunk& c = queue_.front();
        if (c.bytes - c.offset >= step) {
            Decode(c.data + c.offset, frame);
            c.offset += step;
            ++frames_played_;
            return true;
        }
        if (c.loop && c.bytes >= step) {
            c.offset = 0;
            continue;
        }
        void* tag = c.tag;
        queue_.pop_front();
        ChunkDone(tag);
    }
    return false;
}

bool Voice::Peek(double frame[2]) const {
    const size_t step = size_t(format_.FrameBytes());
    for (const Chunk& c : queue_) {
        if (c.bytes - c.offset >= step) {
            Decode(c.data + c.offset, frame);
            return true;
        }
        if (c.loop && c.bytes >= step) {
            Decode(c.data, frame);
            return true;
        }
    }
    return false;
}

size_t Voice::MixInto(int32_t* mix, size_t frames, int device_rate) {
    if (paused_) return 0;
    const double step = double(format_.rate) / device_rate * (rate_ / 65536.0);
    const double gain_left = left_ / 65535.0;
    const double gain_right = right_ / 65535.0;
    size_t produced = 0;
    while (produced < frames) {
        if (!have_current_) {
            if (!Pull(current_)) break;
            have_current_ = true;
            fraction_ = 0;
        }
        double left = current_[0], right = current_[1];
        double next[2];
        if (fraction_ > 0 && Peek(next)) {
            left += (next[0] - left) * fraction_;
            right += (next[1] - right) * fraction_;
        }
        mix[2 * produced] += int32_t(std::lround(left * gain_left));
        mix[2 * produced + 1] += int32_t(std::lround(right * gain_right));
        ++produced;
        fraction_ += step;
        while (fraction_ >= 1.0) {
            fraction_ -= 1.0;
            if (!Pull(current_)) {
                have_current_ = false;
                break;
            }
        }
    }
    return produced;
}

}  // namespace win::sound
