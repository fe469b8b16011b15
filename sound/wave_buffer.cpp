#include <algorithm>
#include <cstring>

#include "sound/wave_sound.h"

bool CopyWaveToBuffer(SoundBuffer* buffer, const unsigned char* samples, std::uint32_t count) {
    if (!buffer || !samples || count == 0) return false;
    void* region1 = nullptr;
    void* region2 = nullptr;
    std::uint32_t length1 = 0;
    std::uint32_t length2 = 0;
    if (buffer->Lock(0, count, &region1, &length1, &region2, &length2, 0) != DS_OK) return false;
    // Never copy more than the caller's bytes, whatever the regions add up to.
    length1 = std::min(length1, count);
    length2 = std::min(length2, count - length1);
    std::memcpy(region1, samples, length1);
    if (length2 != 0) std::memcpy(region2, samples + length1, length2);
    buffer->Unlock(region1, length1, region2, length2);
    return true;
}

SoundBuffer* CreateWaveBuffer(SoundDevice* device, const char* name) {
    DSBUFFERDESC desc{};
    std::size_t resourceSize = 0;
    const unsigned char* wave = LockWaveResource(nullptr, name, &resourceSize);
    if (!wave) return nullptr;

    const unsigned char* format = nullptr;
    const unsigned char* samples = nullptr;
    std::uint32_t cbSamples = 0;
    if (!ParseRiffWave(wave, resourceSize, &format, &samples, &cbSamples)) return nullptr;
    desc.dwSize = DSBUFFERDESC_SIZE;
    desc.dwFlags = DSBCAPS_STATIC | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN | DSBCAPS_CTRLVOLUME;
    desc.dwBufferBytes = cbSamples;
    desc.lpwfxFormat = format;

    SoundBuffer* buffer = nullptr;
    if (!device || device->CreateSoundBuffer(&desc, &buffer, nullptr) != DS_OK) return nullptr;
    if (!CopyWaveToBuffer(buffer, samples, cbSamples)) {
        buffer->Release();
        return nullptr;
    }
    return buffer;
}
