#pragma once
// Playable sounds made from the program's wave resources.

#include <cstddef>
#include <cstdint>

#include "platform/sound_device.h"  // SoundDevice, SoundBuffer, DSBPLAY_LOOPING

class SoundDevice;
class WindowServices;
struct WaveSound;

// The program-wide sound device; null until OpenSoundDevice succeeds.
extern SoundDevice* g_pDirectSound;

// Opens g_pDirectSound for `window`; 1 on success, 0 after showing why not.
int OpenSoundDevice(WindowServices* window);
// Shows `text` in a modal box captioned "DirectSound Error" owned by `window` (none without a
// window); always 0.
int SoundErrorBox(WindowServices* window, const char* text);

// The bytes of wave resource `name` (any case) in `module` (null: the program itself), valid
// for the rest of the run, or null. `size`, when given, receives their real count.
const unsigned char* LockWaveResource(const void* module, const char* name,
                                      std::size_t* size = nullptr);

// Finds the "fmt " body, the "data" body and its size in the `size` bytes at `wave`; each
// output may be null when not wanted. True when every wanted output was found. Never reads
// outside the RIFF data nor outside the `size` bytes.
bool ParseRiffWave(const unsigned char* wave, std::size_t size, const unsigned char** format,
                   const unsigned char** samples, std::uint32_t* cbSamples);

// Writes `count` sample bytes into `buffer` from its start; true when written.
bool CopyWaveToBuffer(SoundBuffer* buffer, const unsigned char* samples, std::uint32_t count);
// A new buffer on `device` holding wave resource `name`, or null.
SoundBuffer* CreateWaveBuffer(SoundDevice* device, const char* name);

// One sound with `nBuffers` slots that may sound at once. Made in one zero-filled allocation.
struct WaveSound {
    const char* name;               // the resource's, for the play trace
    const unsigned char* pSamples;  // the "data" body, in place in the resource
    std::uint32_t cbSamples;
    std::int32_t nBuffers;
    std::int32_t nActive;  // the slot handed out last, examined first next time
    SoundBuffer* apBuffers[];
};

WaveSound* WaveSoundCreate(SoundDevice* device, const char* name, int nBuffers);
void WaveSoundDestroy(WaveSound* sound);
// The buffer the next play should use, or null when the sound should not be played now.
SoundBuffer* WaveSoundPickBuffer(WaveSound* sound);
// Each play that starts is traced as "sound <name> <steady-clock ms>".
void WaveSoundPlay(WaveSound* sound, std::uint32_t flags);
// Stops and rewinds every slot.
void WaveSoundStop(WaveSound* sound);
