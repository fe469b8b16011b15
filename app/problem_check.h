#pragma once
// `fizmo --check-problems FILE`: reads a problem file exactly as the game does and tells a
// teacher, in Japanese and English, what the game will show and where the file will not do
// what its writer meant.

#include <ostream>
#include <string>

// 0 when the file is clean, 1 when something was found (or it cannot be read).
int CheckProblemFile(const std::string& path, std::ostream& out);
