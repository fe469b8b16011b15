#include "app/demo_pilot.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <string>

#include "game/fizmo_view.h"
#include "game/geometry.h"
#include "game/judging.h"
#include "game/random.h"
#include "game/world_step.h"

namespace {

constexpr int kShipFromRightEdge = 220;
constexpr int kShotGone = -100;  // where the game lets a missile go

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

// The forecast draws no numbers from the game's own sequence; the speed a tile gets when it
// wraps is then unknown, and the forecast reckons with it anywhere along its row.
class ForecastRandom final : public Random {
public:
    int Rand() override { return 0; }
    void Seed(unsigned) override {}
};

// One copy of the game for every forecast, ten times a second: a view is costly to make,
// and all that the step reads of it is copied in afresh. Never destroyed: it would outlive
// the application.
CFizmoView& ForecastWorld() {
    static CFizmoView* const world = new CFizmoView(nullptr);
    return *world;
}

// Whether a missile fired now from (shipX, shipY) meets tile `digit` and no other, flown
// with the game's own world step and hit rules on a copy of the tiles. A busy machine may
// judge a frame before the world moved, or only after it moved twice or more and so past
// `digit`: no other tile may come within reach anywhere on the missile's way to the edge of
// the screen, nor any tile reach the ship before the missile met `digit`.
bool ShotMeetsOnly(int digit, const CFizmoView& view, int shipX, int shipY, const Geometry& g) {
    ForecastRandom random;
    CFizmoView& world = ForecastWorld();
    CopyMovingWorld(view, world);
    bool wrapped[kTiles] = {};
    const int shotY = shipY + kMuzzleY;
    bool met = false;  // `digit` within reach after a move, when the game judges
    for (int shotX = shipX + kMuzzleX, moves = 0; shotX >= kShotGone; shotX -= kShotStep, ++moves) {
        if (moves > 0) {
            int before[kTiles];
            std::copy(std::begin(world.m_nTargetX), std::end(world.m_nTargetX), before);
            StepWorld(world, random, [](double x) { return std::sin(x); });
            for (int k = 0; k < kTiles; ++k) wrapped[k] |= world.m_nTargetX[k] < before[k];
        }
        for (int k = 0; k < kTiles; ++k) {
            const int tileX = wrapped[k] ? shotX - 1 : world.m_nTargetX[k];
            if (!MissileHitsTile(shotX, shotY, tileX, world.m_nTargetY[k], g.n, g.h)) continue;
            if (k != digit || wrapped[k]) return false;
            met = met || moves > 0;
        }
        for (int k = 0; k < kTiles && !met; ++k)
            if (TileTouchesShip(world.m_nTargetX[k], world.m_nTargetY[k], shipX, shipY, g.h))
                return false;
    }
    return met;
}

// The digit table is rebuilt from the question in each frame. A question set outside a frame
// (a new game or stage) leaves the old table until the next frame; a missile aimed by it
// would meet the new question.
bool DigitTableCurrent(const CFizmoView& view) {
    const FactKind* kind = view.Kind();
    const int answer =
        kind ? kind->answer({view.m_nOperandA, view.m_nOperandB}) : view.m_nWordAnswer;
    return view.m_strAnswer == std::to_string(answer);
}

}  // namespace

int WantedDigit(const CFizmoView& view) {
    if (!DigitTableCurrent(view)) return -1;
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
    // A stage about to clear lays out new tiles for a missile already on its way.
    if (digit < 0 || view.m_bStageClear) return move;

    const int aimed = AimedPointerY(view.m_nTargetY[digit], g);
    if (ShotMeetsOnly(digit, view, g.shipX, aimed - kPointerToShip, g)) {
        move.pointerY = aimed;
        move.fire = !MissileInFlight(view);
        return move;
    }
    // Out of reach or behind another tile: wait half a row away, clear of it and its neighbour.
    move.pointerY = aimed + (digit < kTiles - 1 ? g.pitch / 2 : -g.pitch / 2);
    return move;
}

bool DemoGameEnded(const CFizmoView& view) {
    return view.m_bGameOver || view.m_bProblemsDone || view.m_nStage > 6;
}
