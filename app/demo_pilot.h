#pragma once
// The attract mode's pilot: where a player's pointer would go next and whether to click,
// worked out from the game's state alone.

class CFizmoView;

struct DemoMove {
    int pointerX = 0;
    int pointerY = 0;
    bool fire = false;
};

// The next digit to hit, or -1 while there is no answer to enter.
int WantedDigit(const CFizmoView& view);

// Puts the ship level with the wanted tile, so that a missile's judged point (24 pixels
// below its top, which starts 65 below the ship's) meets the tile's centre, and fires only
// when a forecast of the flight with the game's own rules has that missile meet that tile,
// no other tile anywhere on its way, however a busy machine spaces the frames, and no tile
// reach the ship first: the demo never hits a wrong tile.
// One missile at a time: a second one in the same row would hit the tile again after it
// went back to the left. Otherwise the ship waits between two rows.
DemoMove PlanDemoMove(const CFizmoView& view);

// Whether play has ended (game over, word problems done or all stages cleared).
bool DemoGameEnded(const CFizmoView& view);
