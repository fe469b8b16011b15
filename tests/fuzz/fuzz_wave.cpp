// Wave files from anywhere: the parser must stay inside the bytes it is given, and whatever
// it accepts must make a buffer that plays without reading outside its memory.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/sound_device.h"
#include "sound/wave_sound.h"

namespace {

bool Inside(const unsigned char* p, std::size_t length, const unsigned char* begin,
            std::size_t size) {
    return p >= begin && length <= size && p - begin <= static_cast<std::ptrdiff_t>(size - length);
}

void PlayBriefly(const unsigned char* format, const unsigned char* samples, std::uint32_t size) {
    static SoundDevice* device = CreateSoundDeviceWithoutOutput(22050);
    DSBUFFERDESC desc;
    desc.dwSize = DSBUFFERDESC_SIZE;
    desc.dwBufferBytes = size;
    desc.lpwfxFormat = format;
    SoundBuffer* buffer = nullptr;
    if (device->CreateSoundBuffer(&desc, &buffer, nullptr) != DS_OK) return;
    if (CopyWaveToBuffer(buffer, samples, size)) {
        buffer->Play(0, 0, DSBPLAY_LOOPING);
        std::int16_t out[2 * 64];
        device->Mixer().Render(out, 64);
    }
    buffer->Release();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A block of exactly the input's size, so any read past it is caught.
    auto wave = std::make_unique<unsigned char[]>(size);
    if (size) std::memcpy(wave.get(), data, size);

    const unsigned char* format = nullptr;
    const unsigned char* samples = nullptr;
    std::uint32_t cbSamples = 0;
    if (!ParseRiffWave(wave.get(), size, &format, &samples, &cbSamples)) return 0;
    if (!Inside(format, 14, wave.get(), size) || !Inside(samples, cbSamples, wave.get(), size)) {
        std::abort();
    }
    // Big bodies only cost time; a few kilobytes exercise the same code.
    if (cbSamples <= 1 << 16) PlayBriefly(format, samples, cbSamples);
    return 0;
}
