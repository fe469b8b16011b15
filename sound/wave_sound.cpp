#include "sound/wave_sound.h"

// Placeholder until the sound device exists: every sound is silent.
SoundDevice* g_pDirectSound = nullptr;

int OpenSoundDevice(WindowServices*) { return 0; }
WaveSound* WaveSoundCreate(SoundDevice*, const char*, int) { return nullptr; }
void WaveSoundDestroy(WaveSound*) {}
void WaveSoundPlay(WaveSound*, std::uint32_t) {}
void WaveSoundStop(WaveSound*) {}
