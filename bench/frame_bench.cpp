// Cost of one whole paint (compose, judge, copy) in the middle of play, next to its floor:
// copying one frame, the least a background that scrolls under everything can cost.
#include <benchmark/benchmark.h>

#include "bench/bench_window.h"
#include "game/fizmo_view.h"

namespace {

// Stand-ins of the pictures' sizes when the program's own are not built in.
void FillMissing(Bitmap& bitmap, int width, int height, QRgb colour) {
    if (bitmap.HasImage()) return;
    bitmap.CreateCompatibleBitmap(width, height);
    bitmap.Image().fill(colour);
}

void FillMissingImages(CFizmoView& v) {
    FillMissing(*v.m_pBackground, 1280, 400, qRgb(0, 0, 60));
    FillMissing(*v.m_pShipBitmap, 177, 177, qRgb(90, 90, 90));
    FillMissing(*v.m_pShipMask, 177, 177, qRgb(0, 0, 0));
    for (auto* small : {&v.m_pMissileBitmap, &v.m_pMissileMask, &v.m_pCorrectMark, &v.m_pWrongMark,
                        &v.m_pExplosionBitmap, &v.m_pExplosionMask})
        FillMissing(**small, 48, 48, qRgb(200, 200, 0));
    for (auto& digit : v.m_pDigitBitmap) FillMissing(*digit, 48, 48, qRgb(255, 255, 255));
}

// Tiles spread over their rows, a volley of missiles in flight between them.
void MidPlay(CFizmoView& v) {
    const int pitch = (v.m_nViewHeight - 100) / 10;
    const int half = (v.m_nViewHeight - 100) / 24;
    for (int k = 0; k < kTiles; ++k) v.m_nTargetX[k] = (k * 97) % (v.m_nViewWidth - 200);
    for (int j = 0; j < 12; ++j) {
        v.m_bShotActive[j] = 1;
        v.m_nShotX[j] = 300 + 60 * j;
        v.m_nShotY[j] = (j % 9) * pitch + 50 + half + pitch / 2 - 24;
    }
    v.m_nShipX = v.m_nViewWidth - 300;
    v.m_nShipY = 5 * pitch + 50 + half + pitch / 2 - 88;
    v.m_nScore = 40;
}

void BM_Paint(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    NeedGuiApplication();
    BenchWindow window(width, height);
    CFizmoView view(&window);
    view.OnSize(0, width, height);
    view.OnInitialUpdate();
    window.ShowBackBuffer(*view.m_pBackBitmap);
    FillMissingImages(view);
    MidPlay(view);
    view.OnPaint();  // builds the digit table
    for (auto _ : state) {
        view.OnPaint();
        benchmark::ClobberMemory();
    }
    state.counters["score"] = view.m_nScore;  // unchanged: nothing was judged
}
BENCHMARK(BM_Paint)
    ->Args({1280, 1024})
    ->Args({1366, 768})
    ->Args({1920, 1080})
    ->Args({3840, 2160})
    ->Unit(benchmark::kMicrosecond);

void BM_PaintFloor(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    Bitmap frame, window;
    frame.CreateCompatibleBitmap(width, height);
    frame.Image().fill(Qt::darkBlue);
    window.CreateCompatibleBitmap(width, height);
    Surface back, front;
    for (Surface* s : {&back, &front}) s->CreateCompatibleDC(nullptr);
    back.SelectObject(&frame);
    front.SelectObject(&window);
    auto floor = [&] { front.BitBlt(0, 0, width, height, &back, 0, 0, SRCCOPY); };
    floor();  // the images' pages are touched once outside the timing, as in BM_Paint
    for (auto _ : state) {
        floor();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PaintFloor)
    ->Args({1280, 1024})
    ->Args({1366, 768})
    ->Args({1920, 1080})
    ->Args({3840, 2160})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
