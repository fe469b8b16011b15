#pragma once
// How an arithmetic question is read aloud: 7 × 8 = as ナナ かける ハチ は. Numbers go out in
// katakana: Open JTalk takes a bare なな or はち for particles, and 7 for シチ.

#include <string>

// The word read for a sign as the question shows it (UTF-8: ×, ＋, －, ÷); a new kind of
// question adds its line to the table in the .cpp. Empty for a sign it does not know.
std::string SignWord(const std::string& sign);

// The number as a teacher reads it out in a drill, 0 to 99; digits beyond that.
std::string SpokenNumber(int n);

// The question with its operands, as Open JTalk is to read it (UTF-8).
std::string ArithmeticReading(const std::string& sign, int a, int b);
