#include "app/demo_pilot.h"

#include <cstdlib>

#include "game/fizmo_view.h"
#include "game/geometry.h"

namespace {

constexpr int kShipFromRightEdge = 220;

struct Geometry {
    int n;      // tile size and horizontal hit reach
    int h;      // half a tile
    int pitch;  // row spacing
    int shipX;
};

Geometry GeometryOf(const CFizmoView& view) {
    const int height = view.m_nViewHeight;
    return Geometry{TileSize(height), HalfTile(height), RowPitch(height),
                    view.m_nViewWidth - kShipFromRightEdge};
}

// The pointer height that puts the missile's judged point on the tile's centre.
int AimedPointerY(int tileY, const Geometry& g) {
    const int shipY = tileY + g.h - kMuzzleY - kMissileMiddle;
    return shipY + kPointerToShip;
}

bool MissileInFlight(const CFizmoView& view) {
    for (int j = 0; j < kShots; ++j)
        if (view.m_bShotActive[j]) return true;
    return false;
}

// The tick on which a missile fired now is judged a hit on the tile, or 0 if it would
// fly past it between two frames.
int MeetingTick(int gap, int tileSpeed, const Geometry& g) {
    const int closing = kShotStep + tileSpeed;
    if (gap <= 0 || closing <= 0) return 0;
    int tick = (gap - g.n) / closing + 1;
    if (tick < 1) tick = 1;
    return closing * tick < gap ? tick : 0;
}

// Whether the tile stays clear of the ship's nose until the missile meets it.
bool ReachedInTime(int tileX, int tileSpeed, int tick, const Geometry& g) {
    const int nose = g.shipX + kNoseX;
    return nose - (tileX + tileSpeed * (tick - 1)) >= g.h + 1;
}

}  // namespace

int WantedDigit(const CFizmoView& view) {
    const int index = view.m_nDigitIndex;
    if (index < 0 || index >= view.m_nDigitCount || index >= kTiles) return -1;
    const int digit = std::atoi(view.m_strDigit[index].c_str());
    return digit >= 0 && digit < kTiles ? digit : -1;
}

DemoMove PlanDemoMove(const CFizmoView& view) {
    const Geometry g = GeometryOf(view);
    DemoMove move;
    move.pointerX = g.shipX + kPointerToShip;
    move.pointerY = view.m_nShipY + kPointerToShip;  // stay put with nothing to aim at
    const int digit = WantedDigit(view);
    if (digit < 0) return move;

    const int tileX = view.m_nTargetX[digit];
    const int speed = view.m_nTargetSpeed[digit];
    const int aimed = AimedPointerY(view.m_nTargetY[digit], g);
    const int tick = MeetingTick(g.shipX + kMuzzleX - tileX, speed, g);
    if (tick > 0 && ReachedInTime(tileX, speed, tick, g)) {
        move.pointerY = aimed;
        move.fire = !MissileInFlight(view);
        return move;
    }
    // Out of reach: wait half a row away, clear of this tile and its neighbour.
    move.pointerY = aimed + (digit < kTiles - 1 ? g.pitch / 2 : -g.pitch / 2);
    return move;
}

bool DemoGameEnded(const CFizmoView& view) {
    return view.m_bGameOver || view.m_bProblemsDone || view.m_nStage > 6;
}
