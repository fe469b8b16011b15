#pragma once
// Software mixer behind the sound device: steps every playing buffer from its own rate to
// the output rate and sums them, with clipping, into interleaved 16-bit stereo.
// Plain C++ so that tests and benchmarks can drive it without any audio hardware.

#include <array>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

// Uncompressed PCM: 8-bit unsigned (128 is silence) or 16-bit signed little-endian.
struct PcmFormat {
    int channels = 1;        // 1 or 2
    int bytesPerSample = 1;  // 1 or 2
    std::uint32_t rate = 8000;

    int BlockAlign() const { return channels * bytesPerSample; }
};

// Sample memory of one buffer, shared with its duplicates.
struct SampleMemory {
    SampleMemory(const PcmFormat& pcm, std::uint32_t byteCount);

    PcmFormat format;
    std::vector<unsigned char> bytes;
    std::uint64_t frames = 0;
    // Both under the mixer's mutex. While locked or lost the mixer neither reads the bytes
    // nor moves the voices that use them.
    int locks = 0;
    bool lost = false;
};

// Play state of one buffer; read and written only under the mixer's mutex.
struct MixerVoice {
    std::shared_ptr<SampleMemory> memory;
    std::uint64_t position = 0;  // in frames, 32.32 fixed point
    bool playing = false;
    bool looping = false;
    // Speech: looping voices (the music) are lowered while it plays.
    bool speech = false;
    MixerVoice* prev = nullptr;
    MixerVoice* next = nullptr;
};

class SoundMixer {
public:
    // Frames mixed per pass; the accumulator lives in the mixer so rendering never allocates.
    static constexpr int kChunkFrames = 512;
    // The music's gain while speech plays, out of kFullGain, and how long it takes to get
    // there and back: a step in gain would click.
    static constexpr std::int32_t kFullGain = 1 << 16;
    static constexpr std::int32_t kDuckedGain = kFullGain * 3 / 10;
    static constexpr std::uint32_t kDuckRampMs = 60;
    // It stays lowered this long after speech, over the moment between two sentences.
    static constexpr std::uint32_t kDuckHoldMs = 100;

    explicit SoundMixer(std::uint32_t outputRate) : outputRate_(outputRate) {}
    SoundMixer(const SoundMixer&) = delete;
    SoundMixer& operator=(const SoundMixer&) = delete;

    std::uint32_t OutputRate() const { return outputRate_; }

    // Guards every voice and the lock and loss state of their memory.
    std::mutex& Mutex() { return mutex_; }

    // Both with Mutex() held.
    void Attach(MixerVoice* voice);
    void Detach(MixerVoice* voice);
    void StopVoicesOn(const SampleMemory* memory);

    // Writes `frames` interleaved stereo frames; takes Mutex() itself.
    void Render(std::int16_t* out, int frames);

    // For the output's thread: blocks while no voice plays, so a silent game costs no
    // wake-ups, until NoteVoiceStarted or StopWaiting. Takes Mutex() itself.
    void WaitWhileSilent();
    // With Mutex() not held, after a voice was set playing.
    void NoteVoiceStarted() { voiceStarted_.notify_all(); }
    // Lets a waiting output thread go and never blocks it again; before the output closes.
    void StopWaiting();
    // After the output opened again: a silent game waits once more.
    void AllowWaiting();

private:
    void RenderChunk(std::int16_t* out, int frames);
    bool AnyVoicePlaying() const;
    bool SpeechPlaying() const;
    // Adds the music, lowered or coming back, into sum_.
    void AddMusicWithGain(int frames, bool speech);

    const std::uint32_t outputRate_;
    std::mutex mutex_;
    MixerVoice* voices_ = nullptr;
    std::condition_variable voiceStarted_;
    bool waitingAllowed_ = true;
    std::array<std::int32_t, 2 * kChunkFrames> sum_{};
    std::array<std::int32_t, 2 * kChunkFrames> music_{};
    std::int32_t musicGain_ = kFullGain;
    std::uint32_t holdFrames_ = 0;  // left of the hold after speech
};
