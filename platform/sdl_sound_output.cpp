#include "platform/sdl_sound_output.h"

#include <sched.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "platform/sound_mixer.h"
#include "platform/sound_trace.h"

namespace {

// Below PipeWire's own data threads (88), as high as rtkit gives a desktop's programs.
constexpr int kRealTimePriority = 20;

// The outputs open now, for ShutdownSoundOutput; only touched on the user-interface thread.
std::vector<SdlSoundOutput*>& OpenOutputs() {
    static std::vector<SdlSoundOutput*> outputs;
    return outputs;
}

// True where the desktop plays through PipeWire: its PulseAudio layer runs for this user.
bool PipeWirePlaysTheDesktop() {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        struct stat info {};
        if (stat(entry.path().c_str(), &info) != 0 || info.st_uid != getuid()) continue;
        std::string name;
        std::getline(std::ifstream(entry.path() / "comm"), name);
        if (name == "pipewire-pulse") return true;
    }
    return false;
}

// SDL tries PulseAudio first. Through PipeWire's PulseAudio layer a 50 ms buffer makes the
// whole desktop's graph run in turns of about 11 ms, and a turn the server's thread misses
// plays as silence. SDL's own PipeWire driver hands the graph one block per turn, so a longer
// block gives the graph longer turns, and still sounds sooner. A user's SDL_AUDIODRIVER wins.
bool InitPipeWire() {
    if (SDL_GetHint(SDL_HINT_AUDIODRIVER) || !PipeWirePlaysTheDesktop()) return false;
    SDL_SetHint(SDL_HINT_AUDIODRIVER, "pipewire");
    bool ready = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    if (ready && SDL_GetNumAudioDevices(0) > 0) return true;
    if (ready) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
}

bool InitAudio() {
    // A Qt program never reads the SIGINT/SIGTERM flags SDL would install handlers for.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // SDL then asks for real time where it can (through rtkit on a desktop).
    SDL_SetHint(SDL_HINT_THREAD_FORCE_REALTIME_TIME_CRITICAL, "1");
    // SDL asks a PulseAudio server for a buffer of one block only, which runs dry whenever
    // the thread is late by a block; libpulse reads this, a user's own wins.
    const std::string latency = std::to_string(SdlSoundOutput::kServerLatencyMs);
    setenv("PULSE_LATENCY_MSEC", latency.c_str(), 0);
    return InitPipeWire() || SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}

// The thread that mixes runs in real time where the system lets this user have it, as the
// server's own threads do: at the highest ordinary priority, a machine whose processors other
// programs keep busy still held it back a whole block now and then.
bool RaiseCallingThread() {
    if (SDL_SetThreadPriority(SDL_THREAD_PRIORITY_TIME_CRITICAL) == 0) return true;
    sched_param realTime{};
    realTime.sched_priority = kRealTimePriority;
    if (sched_setscheduler(0, SCHED_RR | SCHED_RESET_ON_FORK, &realTime) == 0) return true;
    return setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), -20) == 0;
}

bool DriverIsPipeWire() {
    const char* driver = SDL_GetCurrentAudioDriver();
    return driver && std::strcmp(driver, "pipewire") == 0;
}

}  // namespace

bool SdlSoundOutput::Open() {
    if (id_ != 0) return true;
    if (!InitAudio()) return false;
    if (!OpenDevice()) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    TraceSound("driver", SDL_GetCurrentAudioDriver());
    OpenOutputs().push_back(this);
    return true;
}

int SdlSoundOutput::BlockFrames() const {
    const int frames = DriverIsPipeWire() ? kPipeWireBlockFrames : kBufferFrames;
    return outOfSight_ ? frames * kOutOfSightBlockFactor : frames;
}

bool SdlSoundOutput::OpenDevice() {
    SDL_AudioSpec want{};
    want.freq = rate_ != 0 ? static_cast<int>(rate_) : kPreferredRate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = static_cast<Uint16>(BlockFrames());
    want.callback = &SdlSoundOutput::Callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    // The mixer steps to any rate, so only the rate may differ from what is asked for; once
    // the mixer runs, SDL converts to its rate instead.
    const int changes = rate_ != 0 ? 0 : SDL_AUDIO_ALLOW_FREQUENCY_CHANGE;
    id_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, changes);
    if (id_ != 0 && rate_ == 0) rate_ = static_cast<std::uint32_t>(have.freq);
    return id_ != 0;
}

void SdlSoundOutput::SetOutOfSight(bool outOfSight) {
    if (outOfSight == outOfSight_ || id_ == 0) return;
    if (mixer_) mixer_->StopWaiting();
    SDL_CloseAudioDevice(id_);
    outOfSight_ = outOfSight;
    // A device that will not open again with the new blocks goes on with the old.
    if (!OpenDevice()) {
        outOfSight_ = !outOfSight;
        if (!OpenDevice()) return Forget();
    }
    TraceSound("block", std::to_string(BlockFrames()).c_str());
    if (mixer_) mixer_->AllowWaiting();
    SDL_PauseAudioDevice(id_, mixer_ ? 0 : 1);
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
    // A callback waiting for a sound holds SDL's device lock, which closing takes.
    if (mixer_) mixer_->StopWaiting();
    SDL_CloseAudioDevice(id_);
    Forget();
}

void SdlSoundOutput::Forget() {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    id_ = 0;
    mixer_ = nullptr;
    auto& outputs = OpenOutputs();
    outputs.erase(std::remove(outputs.begin(), outputs.end(), this), outputs.end());
}

void SdlSoundOutput::Callback(void* self, Uint8* stream, int length) {
    // PipeWire's driver calls back on a thread of PipeWire's at ordinary priority, and SDL's
    // own thread gets only what SDL could ask for: whichever thread calls is raised once.
    thread_local const bool raised = RaiseCallingThread();
    static_cast<void>(raised);
    auto* output = static_cast<SdlSoundOutput*>(self);
    if (!output->mixer_) {
        std::memset(stream, 0, static_cast<std::size_t>(length));
        return;
    }
    // While nothing plays the device runs dry instead of being fed silence every few ms;
    // a new sound is then mixed at once into an empty device buffer.
    output->mixer_->WaitWhileSilent();
    output->mixer_->Render(reinterpret_cast<std::int16_t*>(stream), length / 4);
    if (output->probeArmed_.load(std::memory_order_relaxed)) output->CheckProbe(stream, length);
}

void SdlSoundOutput::ArmProbe() {
    probeTime_.store(0, std::memory_order_relaxed);
    probeArmed_.store(true, std::memory_order_release);
}

void SdlSoundOutput::CheckProbe(const Uint8* stream, int length) {
    const auto* samples = reinterpret_cast<const std::int16_t*>(stream);
    if (std::none_of(samples, samples + length / 2, [](std::int16_t s) { return s != 0; })) return;
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    probeTime_.store(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count(),
                     std::memory_order_release);
    probeArmed_.store(false, std::memory_order_relaxed);
}

void SetSoundOutputsOutOfSight(bool outOfSight) {
    for (SdlSoundOutput* output : OpenOutputs()) output->SetOutOfSight(outOfSight);
}

void ShutdownSoundOutput() {
    auto& outputs = OpenOutputs();
    while (!outputs.empty()) outputs.back()->Close();
    SDL_Quit();
}
