#include "game/tile_layout.h"

#include "game/fizmo_view.h"
#include "game/geometry.h"

void LayOutRows(CFizmoView& view) {
    const int pitch = RowPitch(view.m_nViewHeight);
    for (int k = 0; k < kTiles; ++k) view.m_nTargetY[k] = k * pitch + 50;
}

int LowRuleSpeed(Random& random, int low) {
    const int r = random.Rand() % low;
    return r == 0 ? low : r;
}

int HighRuleSpeed(Random& random, int low, int high) {
    const int r = random.Rand() % high;
    return r >= low ? r : r + high;
}

void RestartTiles(CFizmoView& view, SpeedRule rule) {
    for (int k = 0; k < kTiles; ++k) {
        view.m_nTargetX[k] = 0;
        view.m_nTargetSpeed[k] =
            rule == SpeedRule::kLow
                ? LowRuleSpeed(view.Rng(), view.m_nSpeedLow)
                : HighRuleSpeed(view.Rng(), view.m_nSpeedLow, view.m_nSpeedHigh);
    }
}

void ClearShots(CFizmoView& view) {
    for (int j = 0; j < kShots; ++j) {
        view.m_bShotActive[j] = 0;
        view.m_nShotX[j] = -100;
        view.m_nShotY[j] = -100;
    }
}

void ResetPlayfield(CFizmoView& view) {
    for (int& x : view.m_nTargetX) x = 0;
    view.m_nScore = 0;
    view.m_bStageClear = 0;
    view.m_nShipX = kShipStartX;
    view.m_nShipY = kShipStartY;
}
