#include "game/tile_layout.h"

#include "game/fizmo_view.h"

void LayOutRows(CFizmoView& view) {
    const int pitch = (view.m_nViewHeight - 100) / 10;
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
