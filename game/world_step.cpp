#include "game/world_step.h"

#include <cmath>

#include "game/fizmo_view.h"
#include "game/geometry.h"
#include "game/tile_layout.h"

namespace {

// x is taken as degrees with pi as 3.14, so one period is about 360 pixels long.
constexpr double kDegreesFactor = 3.14 / 180;

void ScrollBackground(CFizmoView& v) {
    v.m_nScrollX -= v.m_nScrollSpeed;
    if (v.m_nScrollX < 0) v.m_nScrollX = 640;
}

int NewWrapSpeed(const CFizmoView& v, Random& random) {
    switch (v.m_nStage) {
        case 1:
            return LowRuleSpeed(random, v.m_nSpeedLow);
        case 4: {
            const int r = random.Rand() % v.m_nSpeedHigh;
            return r < v.m_nSpeedLow ? r + v.m_nSpeedLow : r;
        }
        case 2: {
            const int r = random.Rand() % 10;
            return r == 0 ? 10 : r;
        }
        default: {  // stage 5
            const int r = random.Rand() % 20;
            return r < 10 ? r + 10 : r;
        }
    }
}

// Moves tile k right; true when it passed the right edge and went back to 0.
bool MoveAcross(CFizmoView& v, int k) {
    v.m_nTargetX[k] += v.m_nTargetSpeed[k];
    if (v.m_nTargetX[k] > v.m_nViewWidth) {
        v.m_nTargetX[k] = 0;
        return true;
    }
    return false;
}

void MoveStraight(CFizmoView& v, Random& random) {
    for (int k = 0; k < kTiles; ++k)
        if (MoveAcross(v, k)) v.m_nTargetSpeed[k] = NewWrapSpeed(v, random);
}

void MoveBouncing(CFizmoView& v, Random& random) {
    for (int k = 0; k < kTiles; ++k) {
        if (MoveAcross(v, k)) v.m_nTargetSpeed[k] = NewWrapSpeed(v, random);
        // Reversal only, no clamp: a tile may stand one step beyond an edge for a tick.
        v.m_nTargetY[k] += v.m_nTargetDY[k];
        if (v.m_nTargetY[k] < 50) v.m_nTargetDY[k] = -v.m_nTargetDY[k];
        if (v.m_nTargetY[k] > v.m_nViewHeight) v.m_nTargetDY[k] = -v.m_nTargetDY[k];
    }
}

void MoveOnSine(CFizmoView& v, SineFunction sine) {
    const int amplitude = v.m_nViewWidth / 10;
    const int pitch = RowPitch(v.m_nViewHeight);
    for (int k = 0; k < kTiles; ++k) {
        MoveAcross(v, k);
        const double y = sine(v.m_nTargetX[k] * kDegreesFactor) * amplitude + k * pitch + 50;
        v.m_nTargetY[k] = static_cast<int>(y);
        if (v.m_nTargetY[k] < 50) v.m_nTargetY[k] = 50;
        if (v.m_nTargetY[k] > v.m_nViewHeight) v.m_nTargetY[k] = v.m_nViewHeight;
    }
}

void MoveMissiles(CFizmoView& v) {
    for (int j = 0; j < kShots; ++j) {
        if (!v.m_bShotActive[j]) continue;
        v.m_nShotX[j] -= kShotStep;
        if (v.m_nShotX[j] < -100) v.m_bShotActive[j] = 0;
    }
}

}  // namespace

void StepWorld(CFizmoView& view, Random& random, SineFunction sine) {
    ScrollBackground(view);
    switch (view.m_nStage) {
        case 1:
        case 4:
            MoveStraight(view, random);
            break;
        case 2:
        case 5:
            MoveBouncing(view, random);
            break;
        case 3:
        case 6:
            MoveOnSine(view, sine);
            break;
        default:
            break;  // the game is finished: tiles stand still
    }
    MoveMissiles(view);
}

void CopyMovingWorld(const CFizmoView& view, CFizmoView& world) {
    world.m_nViewWidth = view.m_nViewWidth;
    world.m_nViewHeight = view.m_nViewHeight;
    world.m_nStage = view.m_nStage;
    world.m_nSpeedLow = view.m_nSpeedLow;
    world.m_nSpeedHigh = view.m_nSpeedHigh;
    for (int k = 0; k < kTiles; ++k) {
        world.m_nTargetX[k] = view.m_nTargetX[k];
        world.m_nTargetY[k] = view.m_nTargetY[k];
        world.m_nTargetSpeed[k] = view.m_nTargetSpeed[k];
        world.m_nTargetDY[k] = view.m_nTargetDY[k];
    }
}

void CFizmoView::OnTimer(unsigned) {
    StepWorld(*this, Rng(), [](double x) { return std::sin(x); });
    if (m_pWnd) m_pWnd->InvalidateRect(RECT{0, 0, m_nViewWidth, m_nViewHeight}, false);
}
