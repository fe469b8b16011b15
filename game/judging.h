#pragma once
// Judging a frame: missiles against tiles (answers and score), then tiles against the ship.
// The passes change only the game state; what they draw and play goes through JudgeOutput,
// so they also run without a window.

#include "game/geometry.h"

class CFizmoView;

enum class Cue { kChime, kBuzzer };

class JudgeOutput {
public:
    virtual ~JudgeOutput() = default;
    // The circle (right) or cross (wrong), size × size, over the tile that was hit.
    virtual void DrawMark(bool right, int x, int y, int size) = 0;
    // The explosion over the whole ship sprite at (shipX, shipY).
    virtual void DrawExplosion(int shipX, int shipY) = 0;
    virtual void Play(Cue cue) = 0;
};

bool MissileHitsTile(int shotX, int shotY, int tileX, int tileY, int n, int h);
bool TileTouchesShip(int tileX, int tileY, int shipX, int shipY, int h);

// All 300 pairs, tile outer and slot inner; may complete a question and call NextQuestion.
void RunHitPass(CFizmoView& view, JudgeOutput& out);
// Raises the game-over flag for every tile that touches the ship.
void RunCollisionPass(CFizmoView& view, JudgeOutput& out);
