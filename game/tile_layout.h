#pragma once
// Rows and speed rules shared by resizing, Start and the stage set-up.

class CFizmoView;
class Random;

// Row k at y = k * ((H - 100) / 10) + 50; the pitch is negative below H = 100.
void LayOutRows(CFizmoView& view);
// 1 to the low bound.
int LowRuleSpeed(Random& random, int low);
// The low bound to low + high - 1.
int HighRuleSpeed(Random& random, int low, int high);

enum class SpeedRule { kLow, kHigh };
// Every tile back to the left edge with a new speed, drawn in tile order.
void RestartTiles(CFizmoView& view, SpeedRule rule);
// What a new game and a new stage both begin with: tiles at the left edge, no score, no
// stage clear pending, the ship at its start.
void ResetPlayfield(CFizmoView& view);
// No missile in flight: each waits off the screen.
void ClearShots(CFizmoView& view);
