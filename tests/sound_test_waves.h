#pragma once
// Wave files, buffers and devices synthesized for the sound tests.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/sound_device.h"

using Bytes = std::vector<unsigned char>;

inline void PutLe(Bytes& out, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

// A RIFF WAVE file chunk by chunk; odd bodies get their pad byte.
class RiffBuilder {
public:
    RiffBuilder& Chunk(const char* id, const Bytes& body) {
        chunks_.insert(chunks_.end(), id, id + 4);
        PutLe(chunks_, static_cast<std::uint32_t>(body.size()), 4);
        chunks_.insert(chunks_.end(), body.begin(), body.end());
        if (body.size() & 1) chunks_.push_back(0);
        return *this;
    }
    Bytes Build(int riffSizeAdjust = 0) const {
        Bytes out{'R', 'I', 'F', 'F'};
        PutLe(out, static_cast<std::uint32_t>(4 + chunks_.size() + riffSizeAdjust), 4);
        out.insert(out.end(), {'W', 'A', 'V', 'E'});
        out.insert(out.end(), chunks_.begin(), chunks_.end());
        return out;
    }

private:
    Bytes chunks_;
};

inline Bytes FormatBody(int channels, std::uint32_t rate, int bytesPerSample, int length = 16) {
    Bytes body;
    for (std::uint32_t field : {1u, unsigned(channels)}) PutLe(body, field, 2);
    PutLe(body, rate, 4);
    PutLe(body, rate * channels * bytesPerSample, 4);
    for (int field : {channels * bytesPerSample, 8 * bytesPerSample}) PutLe(body, field, 2);
    body.resize(length);
    return body;
}

inline Bytes Sine8(double hertz, std::uint32_t rate, int frames) {
    Bytes out(frames);
    for (int i = 0; i < frames; ++i)
        out[i] = std::lround(128 + 100 * std::sin(2 * M_PI * hertz * i / rate));
    return out;
}

// Shaped like the game's own: "fmt " at 12, "data" at 36, a trailing "LIST".
inline Bytes Wave8(const Bytes& samples, std::uint32_t rate = 8000) {
    return RiffBuilder()
        .Chunk("fmt ", FormatBody(1, rate, 1))
        .Chunk("data", samples)
        .Chunk("LIST", Bytes(20, 'x'))
        .Build();
}

// A device the test renders by hand.
struct OfflineDevice {
    explicit OfflineDevice(std::uint32_t rate) : device(CreateSoundDeviceWithoutOutput(rate)) {}
    ~OfflineDevice() { device->Release(); }
    std::vector<std::int16_t> Render(int frames) {
        std::vector<std::int16_t> out(2 * frames);
        device->Mixer().Render(out.data(), frames);
        return out;
    }
    SoundDevice* device;
};

// What an 8-bit sample sounds like at the output.
inline std::int16_t Out8(unsigned char sample) {
    return static_cast<std::int16_t>((sample - 128) * 256);
}

inline std::uint32_t StatusOf(SoundBuffer* buffer) {
    std::uint32_t status = 0;
    buffer->GetStatus(&status);
    return status;
}

inline std::uint32_t PositionOf(SoundBuffer* buffer) {
    std::uint32_t play = 0;
    buffer->GetCurrentPosition(&play, nullptr);
    return play;
}

// A buffer made straight from a description and filled with `samples`.
inline SoundBuffer* MakeBuffer(SoundDevice* device, const Bytes& samples, int channels,
                               std::uint32_t rate, int bytesPerSample) {
    const Bytes format = FormatBody(channels, rate, bytesPerSample);
    DSBUFFERDESC desc;
    desc.dwSize = DSBUFFERDESC_SIZE;
    desc.dwBufferBytes = static_cast<std::uint32_t>(samples.size());
    desc.lpwfxFormat = format.data();
    SoundBuffer* buffer = nullptr;
    if (device->CreateSoundBuffer(&desc, &buffer, nullptr) != DS_OK) return nullptr;
    void* region = nullptr;
    std::uint32_t length = 0;
    buffer->Lock(0, desc.dwBufferBytes, &region, &length, nullptr, nullptr, 0);
    std::copy(samples.begin(), samples.end(), static_cast<unsigned char*>(region));
    buffer->Unlock(region, length, nullptr, 0);
    return buffer;
}

// Sets an environment variable (SDL reads its driver choice there) for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};
