#pragma once
// Playable sounds made from the program's wave resources.

#include <cstdint>

class SoundDevice;
class WindowServices;
struct WaveSound;

constexpr std::uint32_t DSBPLAY_LOOPING = 1;

// The program-wide sound device; null until OpenSoundDevice succeeds.
extern SoundDevice* g_pDirectSound;

int OpenSoundDevice(WindowServices* window);
WaveSound* WaveSoundCreate(SoundDevice* device, const char* name, int nBuffers);
void WaveSoundDestroy(WaveSound* sound);
void WaveSoundPlay(WaveSound* sound, std::uint32_t flags);
void WaveSoundStop(WaveSound* sound);
