#pragma once
// The ids of the program's own resources, shared by the game, the resource loader, the
// generator that makes res/ and the tests. The numbers are those of the resource files.

// Application icon (also the About box's picture).
inline constexpr int IDR_MAINFRAME = 128;

// Tiles for the digits 0 to 9, indexed by digit.
inline constexpr int IDB_DIGIT[10] = {151, 131, 141, 142, 143, 144, 147, 148, 149, 150};

inline constexpr int IDB_SHIP = 132;
inline constexpr int IDB_SHIP_MASK = 133;
inline constexpr int IDB_STAR_FIELD = 134;  // backgrounds of stages 1 and 4
inline constexpr int IDB_MISSILE = 145;
inline constexpr int IDB_MISSILE_MASK = 146;
inline constexpr int IDB_CORRECT_MARK = 152;
inline constexpr int IDB_WRONG_MARK = 153;
inline constexpr int IDB_EXPLOSION = 154;
inline constexpr int IDB_EXPLOSION_MASK = 155;
inline constexpr int IDB_MEADOW = 162;  // backgrounds of stages 2 and 5
inline constexpr int IDB_SKY = 163;     // backgrounds of stages 3 and 6

// Wave resources, by the names they are asked for with (matched without regard to case).
inline constexpr const char* WAVE_CORRECT = "pinpon";
inline constexpr const char* WAVE_BGM = "bgm";
inline constexpr const char* WAVE_BOMB = "bomb";
inline constexpr const char* WAVE_FIRE = "fizmo";
inline constexpr const char* WAVE_WRONG = "boo";
inline constexpr const char* WAVE_CLEAR = "clear";
