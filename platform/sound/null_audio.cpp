// The null device: a thread that pulls blocks from the mixer while anything
// plays, at real-time pace or at once, and sleeps on a condition variable
// while nothing does.
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <new>
#include <thread>

#include "sound/audio_backend.h"
#include "sound/mixer.h"
#include "sound/null_device.h"

namespace win::sound {

namespace {

constexpr int kNullRate = 44100;

struct Capture {
    std::mutex mutex;
    std::deque<CapturedBlock> blocks;
    size_t samples = 0;
};

Capture& TheCapture() {
    static Capture* capture = new Capture;
    return *capture;
}

class NullBackend;
std::mutex g_current_mutex;
NullBackend* g_current = nullptr;  // the open null device, if any
std::atomic<bool> g_hold{false};

class NullBackend : public AudioBackend {
public:
    explicit NullBackend(bool realtime) : realtime_(realtime) {}
    ~NullBackend() override { Close(); }

    DeviceOpen Open(int* rate) override {
        *rate = kNullRate;
        thread_ = std::thread([this] { Run(); });
        std::lock_guard lock(g_current_mutex);
        g_current = this;
        return DeviceOpen::Opened;
    }

    void Wake() override {
        std::lock_guard lock(mutex_);
        wake_ = true;
        idle_ = false;
        changed_.notify_all();
    }

    void Close() override {
        {
            std::lock_guard lock(g_current_mutex);
            if (g_current == this) g_current = nullptr;
        }
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
            changed_.notify_all();
        }
        if (thread_.joinable()) thread_.join();
    }

    const char* Name() const override { return "Null audio output"; }

    bool WaitIdle(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [this] { return stop_ || (idle_ && !wake_); });
    }

private:
    void Run() {
        Mixer& mixer = Mixer::Get();
        std::vector<int16_t> block(kNullBlockFrames * 2);
        for (;;) {
            // Asked without our own lock held: the mixer's lock is taken
            // before ours elsewhere (opening the device).
            bool work = !g_hold && mixer.HasWork();
            {
                std::unique_lock lock(mutex_);
                if (!work && !wake_ && !stop_) {
                    idle_ = true;
                    changed_.notify_all();
                    changed_.wait(lock, [this] { return stop_ || wake_; });
                }
                if (stop_) return;
                bool woken = wake_;
                wake_ = false;
                if (!work && woken) continue;  // look again at what woke us
            }
            // Play while there is something to play.
            auto next = std::chrono::steady_clock::now();
            bool more = true;
            while (more && !g_hold) {
                more = mixer.Render(block.data(), kNullBlockFrames);
                Keep(block);
                if (realtime_) {
                    next += std::chrono::microseconds(kNullBlockFrames * 1000000 / kNullRate);
                    std::unique_lock lock(mutex_);
                    if (changed_.wait_until(lock, next, [this] { return stop_; })) return;
                }
                std::lock_guard lock(mutex_);
                if (stop_) return;
            }
        }
    }

    static void Keep(const std::vector<int16_t>& samples) {
        Capture& capture = TheCapture();
        std::lock_guard lock(capture.mutex);
        try {
            capture.blocks.push_back({std::chrono::steady_clock::now(), samples});
        } catch (const std::bad_alloc&) {
            return;  // the block plays on; only its copy for inspection is lost
        }
        capture.samples += samples.size();
        while (capture.samples > kNullCaptureLimit) {
            capture.samples -= capture.blocks.front().samples.size();
            capture.blocks.pop_front();
        }
    }

    const bool realtime_;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool wake_ = false;
    bool idle_ = true;
    bool stop_ = false;
};

}  // namespace

std::unique_ptr<AudioBackend> MakeNullBackend(bool realtime) {
    return std::make_unique<NullBackend>(realtime);
}

std::vector<CapturedBlock> NullDeviceBlocks() {
    Capture& capture = TheCapture();
    std::lock_guard lock(capture.mutex);
    return {capture.blocks.begin(), capture.blocks.end()};
}

std::vector<int16_t> NullDeviceSamples() {
    Capture& capture = TheCapture();
    std::lock_guard lock(capture.mutex);
    std::vector<int16_t> all;
    all.reserve(capture.samples);
    for (const CapturedBlock& b : capture.blocks)
        all.insert(all.end(), b.samples.begin(), b.samples.end());
    return all;
}

void ClearNullDeviceCapture() {
    Capture& capture = TheCapture();
    std::lock_guard lock(capture.mutex);
    capture.blocks.clear();
    capture.samples = 0;
}

void HoldNullDevice(bool hold) {
    g_hold = hold;
    std::lock_guard lock(g_current_mutex);
    if (g_current && !hold) g_current->Wake();
}

bool WaitNullDeviceIdle(std::chrono::milliseconds timeout) {
    // Holding the lock keeps the device from closing while we wait on it.
    std::lock_guard lock(g_current_mutex);
    return !g_current || g_current->WaitIdle(timeout);
}

}  // namespace win::sound
