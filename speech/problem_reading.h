#pragma once
// Units written as letters after a number (１２ｃｍ, ６５０ｍ, ３００ｇ) are read by Open JTalk
// as the letters' names (エム, ジー) or swallow the next number (ｃｍ３ as cubic centimetres).
// Spelled out in katakana before it reads them, they come out as a teacher says them. The
// problem on the screen keeps its letters: children learn to read them.

#include <string>
#include <vector>

// `utf8` with each unit that follows a digit or 何・なん spelled out.
std::string UnitsSpelledOut(const std::string& utf8);

// A word problem's text (UTF-8) as Open JTalk is to read it: control characters made spaces,
// units spelled out.
std::string SpeakableProblem(std::string utf8);

// The sentences of a text, each with its full stop, in order: read one by one, the first is
// heard as soon as it alone is made.
std::vector<std::string> Sentences(const std::string& utf8);
