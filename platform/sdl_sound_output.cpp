#include "platform/sdl_sound_output.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/sound_mixer.h"

namespace {

// The outputs open now, for ShutdownSoundOutput; only touched on the user-interface thread.
std::vector<SdlSoundOutput*>& OpenOutputs() {
    static std::vector<SdlSoundOutput*> outputs;
    return outputs;
}

bool InitAudio() {
    // A Qt program never reads the SIGINT/SIGTERM flags SDL would install handlers for.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}

}  // namespace

bool SdlSoundOutput::Open() {
    if (id_ != 0) return true;
    if (!InitAudio()) return false;
    SDL_AudioSpec want{};
    want.freq = kPreferredRate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = kBufferFrames;
    want.callback = &SdlSoundOutput::Callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    // The mixer steps to any rate, so only the rate may differ from what is asked for.
    id_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (id_ == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    rate_ = static_cast<std::uint32_t>(have.freq);
    OpenOutputs().push_back(this);
    return true;
}

void SdlSoundOutput::Start(SoundMixer* mixer) {
    if (id_ == 0) return;
    SDL_LockAudioDevice(id_);
    mixer_ = mixer;
    SDL_UnlockAudioDevice(id_);
    SDL_PauseAudioDevice(id_, 0);
}

void SdlSoundOutput::Close() {
    if (id_ == 0) return;
    SDL_CloseAudioDevice(id_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    id_ = 0;
    mixer_ = nullptr;
    auto& outputs = OpenOutputs();
    outputs.erase(std::remove(outputs.begin(), outputs.end(), this), outputs.end());
}

void SdlSoundOutput::Callback(void* self, Uint8* stream, int length) {
    SoundMixer* mixer = static_cast<SdlSoundOutput*>(self)->mixer_;
    if (!mixer) {
        std::memset(stream, 0, static_cast<std::size_t>(length));
        return;
    }
    mixer->Render(reinterpret_cast<std::int16_t*>(stream), length / 4);
}

void ShutdownSoundOutput() {
    auto& outputs = OpenOutputs();
    while (!outputs.empty()) outputs.back()->Close();
    SDL_Quit();
}
