#pragma once
// The six sounds of the game, with the exact lengths and formats the game's resources have.

#include <vector>

#include "tools/resgen/wav_writer.h"

namespace resgen {

Wave Pinpon();  // right answer: a two-tone chime
Wave Bgm();     // the looping music
Wave Bomb();    // game over: an explosion and its rumble, stereo
Wave Fizmo();   // a missile is fired
Wave Boo();     // wrong answer: a soft low buzz
Wave Clear();   // stage clear: a fanfare, stereo

std::vector<Wave> MakeSounds();

}  // namespace resgen
