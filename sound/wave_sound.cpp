#include "sound/wave_sound.h"

#include <cstdlib>
#include <cstring>

#include "platform/sound_trace.h"

namespace {

std::uint32_t StatusOf(SoundBuffer* buffer, bool* read) {
    std::uint32_t status = 0;
    *read = buffer->GetStatus(&status) == DS_OK;
    return *read ? status : 0;
}

}  // namespace

WaveSound* WaveSoundCreate(SoundDevice* device, const char* name, int nBuffers) {
    if (nBuffers < 1) nBuffers = 1;
    const std::size_t bytes =
        sizeof(WaveSound) + sizeof(SoundBuffer*) * static_cast<std::size_t>(nBuffers);
    auto* sound = static_cast<WaveSound*>(std::calloc(1, bytes));
    if (!sound) return nullptr;
    sound->nBuffers = nBuffers;
    sound->name = name;

    std::size_t size = 0;
    const unsigned char* wave = LockWaveResource(nullptr, name, &size);
    if (!wave) return sound;  // no resource: a sound that never sounds
    ParseRiffWave(wave, size, nullptr, &sound->pSamples, &sound->cbSamples);

    // Slot 0 gets memory of its own; the others share it unless duplication fails.
    for (int i = 0; i < nBuffers; ++i) {
        SoundBuffer*& slot = sound->apBuffers[i];
        if (device && device->DuplicateSoundBuffer(sound->apBuffers[0], &slot) == DS_OK) continue;
        slot = CreateWaveBuffer(device, name);
        if (!slot) {
            WaveSoundDestroy(sound);
            return nullptr;
        }
    }
    return sound;
}

void WaveSoundDestroy(WaveSound* sound) {
    if (!sound) return;
    for (int i = 0; i < sound->nBuffers; ++i) {
        if (sound->apBuffers[i]) {
            sound->apBuffers[i]->Release();
            sound->apBuffers[i] = nullptr;
        }
    }
    std::free(sound);
}

SoundBuffer* WaveSoundPickBuffer(WaveSound* sound) {
    if (!sound) return nullptr;
    SoundBuffer* buffer = sound->apBuffers[sound->nActive];
    if (!buffer) return nullptr;
    bool read = false;
    std::uint32_t status = StatusOf(buffer, &read);

    if (status & DSBSTATUS_PLAYING) {
        // One buffer still sounding: the request is dropped rather than restarting it.
        if (sound->nBuffers < 2) return nullptr;
        // Otherwise the oldest sound of the rotation is cut off and its buffer reused.
        sound->nActive = (sound->nActive + 1) % sound->nBuffers;
        buffer = sound->apBuffers[sound->nActive];
        if (!buffer) return nullptr;
        status = StatusOf(buffer, &read);
        if (!read) return buffer;
        if (status & DSBSTATUS_PLAYING) {
            buffer->Stop();
            buffer->SetCurrentPosition(0);
        }
    }
    if (status & DSBSTATUS_BUFFERLOST) {
        if (buffer->Restore() == DS_OK) {
            CopyWaveToBuffer(buffer, sound->pSamples, sound->cbSamples);
        }
    }
    return buffer;
}

void WaveSoundPlay(WaveSound* sound, std::uint32_t flags) {
    if (!sound) return;
    // Only a single-buffer sound may loop.
    if ((flags & DSBPLAY_LOOPING) && sound->nBuffers > 1) return;
    SoundBuffer* buffer = WaveSoundPickBuffer(sound);
    if (!buffer) return;
    if (buffer->Play(0, 0, flags) == DS_OK) TraceSound("sound", sound->name);
}

void WaveSoundStop(WaveSound* sound) {
    if (!sound) return;
    for (int i = 0; i < sound->nBuffers; ++i) {
        if (SoundBuffer* buffer = sound->apBuffers[i]) {
            buffer->Stop();
            buffer->SetCurrentPosition(0);
        }
    }
}
