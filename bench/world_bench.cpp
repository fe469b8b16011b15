// Cost of one world step and of the background stretch that floors every frame.
#include <benchmark/benchmark.h>

#include <cmath>

#include "game/fizmo_view.h"
#include "game/world_step.h"

namespace {

void BM_WorldStep(benchmark::State& state) {
    CFizmoView view(nullptr);
    view.OnSize(0, 1280, 1024);
    view.m_nStage = static_cast<int>(state.range(0));
    for (int k = 0; k < kTiles; ++k) view.m_nTargetY[k] = 100 + 50 * k;
    for (int j = 0; j < kShots; j += 2) {
        view.m_bShotActive[j] = 1;
        view.m_nShotX[j] = 1000;
    }
    StdRandom random;
    for (auto _ : state) {
        StepWorld(view, random, [](double x) { return std::sin(x); });
        for (int j = 0; j < kShots; j += 2) view.m_bShotActive[j] = 1;
        benchmark::DoNotOptimize(view.m_nTargetX);
    }
}
BENCHMARK(BM_WorldStep)->Arg(1)->Arg(2)->Arg(3);

void BM_BackgroundStretch(benchmark::State& state) {
    Bitmap background, frame;
    background.CreateCompatibleBitmap(1280, 400);
    background.Image().fill(Qt::darkBlue);
    frame.CreateCompatibleBitmap(static_cast<int>(state.range(0)),
                                 static_cast<int>(state.range(1)));
    Surface src, dst;
    src.CreateCompatibleDC(nullptr);
    dst.CreateCompatibleDC(nullptr);
    src.SelectObject(&background);
    dst.SelectObject(&frame);
    for (auto _ : state) {
        dst.StretchBlt(0, 0, frame.Image().width(), frame.Image().height(), &src, 320, 0, 640, 400,
                       SRCCOPY);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BackgroundStretch)
    ->Args({1280, 1024})
    ->Args({1920, 1080})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
