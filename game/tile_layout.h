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
