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

void BM_ClickToSound(benchmark::State& state) {
    NeedGuiApplication();
    BenchWindow window(1280, 1024);
    CFizmoView view(&window);
    view.OnSize(0, 1280, 1024);
    view.OnInitialUpdate();
    SdlSoundOutput* output = g_pDirectSound ? g_pDirectSound->Output() : nullptr;
    if (!output || !view.m_pSndFire) {
        state.SkipWithError("no sound output");
        return;
    }
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
    std::sort(latencies.begin(), latencies.end());
    state.counters["median_ms"] = 1e3 * latencies[latencies.size() / 2];
    state.counters["max_ms"] = 1e3 * latencies.back();
}
BENCHMARK(BM_ClickToSound)->UseManualTime()->Iterations(60)->Unit(benchmark::kMillisecond);

}  // namespace
