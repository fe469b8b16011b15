#pragma once
// The default audio output through SDL's audio subsystem: its callback runs the mixer on
// SDL's own thread, so sounds go on while the user-interface thread is busy.

#include <SDL.h>

#include <atomic>
#include <cstdint>

class SoundMixer;

class SdlSoundOutput {
public:
    // Small enough that a sound starts well within 20 ms of being played.
    static constexpr int kBufferFrames = 256;
    // PipeWire's turn for the game's stream: no shorter than a desktop's usual 1024 frames at
    // 48 kHz, so the game does not hurry the whole desktop, nor wait more than 50 ms to sound.
    static constexpr int kPipeWireBlockFrames = 512;
    static constexpr int kPreferredRate = 22050;  // the highest rate of the game's sounds
    // What a sound server may hold: a late block must not be heard, a click must be.
    static constexpr int kServerLatencyMs = 50;
    // Out of sight no click waits for its sound: blocks this many times longer wake SDL's
    // thread that many times less often while the music plays on.
    static constexpr int kOutOfSightBlockFactor = 8;

    SdlSoundOutput() = default;
    SdlSoundOutput(const SdlSoundOutput&) = delete;
    SdlSoundOutput& operator=(const SdlSoundOutput&) = delete;
    ~SdlSoundOutput() { Close(); }

    // Opens the default device, paused; false when there is none.
    bool Open();
    // The device's rate, which the mixer must produce.
    std::uint32_t Rate() const { return rate_; }
    // Feeds the device from `mixer` from now on.
    void Start(SoundMixer* mixer);
    // Idempotent; afterwards the mixer is no longer run.
    void Close();
    // Opens the device again with longer blocks while the game is out of sight, and with
    // the usual ones once it is seen. The music skips a moment; nothing is lost.
    void SetOutOfSight(bool outOfSight);
    int BlockFrames() const;

    // Latency probe for benchmarks: after ArmProbe, ProbeTime is the steady-clock time in ns
    // at which the callback first handed the device a block holding a non-silent sample.
    void ArmProbe();
    std::int64_t ProbeTime() const { return probeTime_.load(std::memory_order_acquire); }

private:
    static void Callback(void* self, Uint8* stream, int length);
    bool OpenDevice();
    // After the device closed: SDL's audio and the list of open outputs let go of it.
    void Forget();
    void CheckProbe(const Uint8* stream, int length);

    SDL_AudioDeviceID id_ = 0;
    std::uint32_t rate_ = 0;
    bool outOfSight_ = false;
    SoundMixer* mixer_ = nullptr;
    std::atomic<bool> probeArmed_{false};
    std::atomic<std::int64_t> probeTime_{0};
};

// Closes every open output and shuts SDL down; the application calls it once at exit.
void ShutdownSoundOutput();
// Tells every open output whether the game's window is out of sight (minimized or covered).
void SetSoundOutputsOutOfSight(bool outOfSight);
