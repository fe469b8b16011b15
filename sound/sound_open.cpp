#include <cstring>

#include "platform/window_services.h"
#include "sound/wave_sound.h"

SoundDevice* g_pDirectSound = nullptr;

int SoundErrorBox(WindowServices* window, const char* text) {
    // The message goes through a fixed 80-byte buffer, as it always has.
    char message[80] = {};
    std::strncpy(message, text ? text : "", sizeof message - 1);
    if (window) window->MessageBox(message, "DirectSound Error", MB_OK);
    return 0;
}

int OpenSoundDevice(WindowServices* window) {
    if (DirectSoundCreate(&g_pDirectSound) != DS_OK) {
        g_pDirectSound = nullptr;
        SoundErrorBox(window, "DirectSoundCreate FAILED");
        return 0;
    }
    if (g_pDirectSound->SetCooperativeLevel(window, DSSCL_NORMAL) != DS_OK) {
        SoundErrorBox(window, "SetCooperativeLevel FAILED");
        return 0;
    }
    return 1;
}
