// Time from a click to the first non-silent sample leaving the mixer, through the game's
// own view and a real SDL output (run with SDL_AUDIODRIVER=dummy when there is no device).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <thread>
#include <vector>

#include "bench/bench_window.h"
#include "game/fizmo_view.h"
#include "platform/sdl_sound_output.h"
#include "sound/wave_sound.h"

namespace {

constexpr unsigned MK_LBUTTON = 0x1;

std::int64_t SteadyNs() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
}

// A looping buffer of silence keeps the output mixing, as the music does during play.
SoundBuffer* KeepOutputBusy(SoundDevice* device) {
    unsigned char format[16] = {1, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x40, 0x1F, 0, 0, 1, 0, 8, 0};
    DSBUFFERDESC desc;
    desc.dwSize = DSBUFFERDESC_SIZE;
    desc.dwBufferBytes = 800;
    desc.lpwfxFormat = format;
    SoundBuffer* silence = nullptr;
    if (device->CreateSoundBuffer(&desc, &silence, nullptr) == DS_OK)
        silence->Play(0, 0, DSBPLAY_LOOPING);
    return silence;
}

// Argument 0: the output waits while nothing plays; 1: it is busy mixing.
void BM_ClickToSound(benchmark::State& state) {
    // One view for both runs: the game never closes its sound device, and a second may not open.
    static BenchWindow window(1280, 1024);
    static CFizmoView& view = *[] {
        NeedGuiApplication();
        auto* v = new CFizmoView(&window);
        v->OnSize(0, 1280, 1024);
        v->OnInitialUpdate();
        return v;
    }();
    SdlSoundOutput* output = g_pDirectSound ? g_pDirectSound->Output() : nullptr;
    if (!output || !view.m_pSndFire) {
        state.SkipWithError("no sound output");
        return;
    }
    SoundBuffer* busy = state.range(0) == 1 ? KeepOutputBusy(g_pDirectSound) : nullptr;
    std::mt19937 random(1);
    std::uniform_int_distribution<int> pause(7000, 13000);  // µs: longer than one block
    std::vector<double> latencies;
    for (auto _ : state) {
        // Silence first, and the click at any point of the output's period.
        WaveSoundStop(view.m_pSndFire);
        std::this_thread::sleep_for(std::chrono::microseconds(pause(random)));
        output->ArmProbe();
        const std::int64_t clicked = SteadyNs();
        view.OnLButtonDown(MK_LBUTTON, 640, 500);
        while (output->ProbeTime() == 0) std::this_thread::sleep_for(std::chrono::microseconds(50));
        latencies.push_back(static_cast<double>(output->ProbeTime() - clicked) * 1e-9);
        state.SetIterationTime(latencies.back());
    }
    if (busy) busy->Release();
    std::sort(latencies.begin(), latencies.end());
    state.counters["median_ms"] = 1e3 * latencies[latencies.size() / 2];
    state.counters["max_ms"] = 1e3 * latencies.back();
}
BENCHMARK(BM_ClickToSound)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Iterations(60)
    ->Unit(benchmark::kMillisecond);

}  // namespace
