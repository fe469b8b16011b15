#pragma once
// Where things stand relative to the ship and the rows, in pixels. The game's rules and the
// demo pilot that plays by them both read them from here.

constexpr int kPointerToShip = 88;  // the pointer sits at the middle of the ship sprite
constexpr int kMuzzleX = 80;        // a new missile's top-left, from the ship's top-left
constexpr int kMuzzleY = 65;
constexpr int kShotStep = 30;       // pixels a missile flies left per tick
constexpr int kMissileMiddle = 24;  // the missile's judged height, from its top
constexpr int kNoseX = 64;          // where a tile touches the ship, from its top-left
constexpr int kNoseY = 88;

// Row spacing, drawn tile size n and half of it h for a client height; all may be zero or
// negative on a very low window.
inline int RowPitch(int clientHeight) {
    return (clientHeight - 100) / 10;
}
inline int TileSize(int clientHeight) {
    return (clientHeight - 100) / 12;
}
inline int HalfTile(int clientHeight) {
    return TileSize(clientHeight) / 2;
}
