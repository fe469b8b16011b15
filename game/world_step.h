#pragma once
// One step of the world: the background slides, tiles move by the stage's pattern,
// missiles fly left. It draws and judges nothing.

class CFizmoView;
class Random;

using SineFunction = double (*)(double);

void StepWorld(CFizmoView& view, Random& random, SineFunction sine);

// Puts into `world` what the step moves by (size, stage, speeds, tiles), so a forecast can
// step a copy of the game ahead.
void CopyMovingWorld(const CFizmoView& view, CFizmoView& world);
