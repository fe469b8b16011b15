// Cost of mixing one second of output with all six of the game's sounds playing at once,
// and the allocations made meanwhile (none are allowed).
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "bench/allocation_count.h"
#include "platform/sound_device.h"

namespace {

struct GameSound {
    int channels;
    std::uint32_t rate;
    std::uint32_t bytes;
    bool looping;
};

// The formats and sizes of PINPON, BGM, BOMB, FIZMO, BOO and CLEAR.
constexpr GameSound kGameSounds[] = {
    {1, 8000, 5789, false}, {1, 11025, 220707, true}, {2, 22050, 195370, false},
    {1, 8000, 1528, false}, {1, 8000, 3713, false},   {2, 22050, 174342, false},
};

SoundBuffer* MakeSound(SoundDevice* device, const GameSound& sound) {
    std::vector<unsigned char> format(16);
    format[0] = 1;  // PCM
    format[2] = static_cast<unsigned char>(sound.channels);
    for (int i = 0; i < 4; ++i) format[4 + i] = static_cast<unsigned char>(sound.rate >> (8 * i));
    format[12] = static_cast<unsigned char>(sound.channels);  // block align of 8-bit samples
    format[14] = 8;
    DSBUFFERDESC desc;
    desc.dwSize = DSBUFFERDESC_SIZE;
    desc.dwBufferBytes = sound.bytes;
    desc.lpwfxFormat = format.data();
    SoundBuffer* buffer = nullptr;
    device->CreateSoundBuffer(&desc, &buffer, nullptr);

    void* region = nullptr;
    std::uint32_t length = 0;
    buffer->Lock(0, sound.bytes, &region, &length, nullptr, nullptr, 0);
    auto* bytes = static_cast<unsigned char*>(region);
    for (std::uint32_t i = 0; i < length; ++i) {
        bytes[i] = static_cast<unsigned char>(128 + 60 * std::sin(i * 0.05));
    }
    buffer->Unlock(region, length, nullptr, 0);
    return buffer;
}

void BM_MixOneSecondOfAllGameSounds(benchmark::State& state) {
    constexpr std::uint32_t kRate = 44100;
    SoundDevice* device = CreateSoundDeviceWithoutOutput(kRate);
    std::vector<SoundBuffer*> buffers;
    for (const GameSound& sound : kGameSounds) buffers.push_back(MakeSound(device, sound));
    std::vector<std::int16_t> out(2 * kRate);

    const std::uint64_t allocationsBefore = AllocationsSoFar();
    for (auto _ : state) {
        // Restarted every second so the short effects are always sounding too.
        for (std::size_t i = 0; i < buffers.size(); ++i) {
            buffers[i]->SetCurrentPosition(0);
            buffers[i]->Play(0, 0, kGameSounds[i].looping ? DSBPLAY_LOOPING : 0);
        }
        device->Mixer().Render(out.data(), kRate);
        benchmark::DoNotOptimize(out.data());
    }
    // Playing and mixing must not allocate: an allocation can stall the audio thread.
    state.counters["allocations"] = static_cast<double>(AllocationsSoFar() - allocationsBefore);
    // Seconds of work per second of sound, printed with an SI prefix (200u is 0.0002);
    // the goal is under 0.01.
    state.counters["fraction_of_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    for (SoundBuffer* buffer : buffers) buffer->Release();
    device->Release();
}
BENCHMARK(BM_MixOneSecondOfAllGameSounds)->Unit(benchmark::kMillisecond);

}  // namespace
