#pragma once
// Reads word problems from a problem file: four lines each (three text lines, then the
// answer), Shift-JIS bytes kept as read. The files come from a platform whose C library
// reads them in text mode, so that mode is done here byte for byte: a CR right before an
// LF is dropped and a 0x1A byte ends the file for good.

#include <cstdio>
#include <string>

namespace problem_reader {

constexpr int kTextLineSize = 80;    // 79 bytes and the terminating zero
constexpr int kAnswerLineSize = 10;  // 9 bytes and the terminating zero

using ProblemLines = char[3][kTextLineSize];

// One byte as a text-mode stream gives it, or EOF.
int ReadByte(std::FILE* file);

// Like fgets(buffer, size, file) on a text-mode stream: at most size - 1 bytes, up to and
// including the next LF. Returns false, leaving the buffer alone, when the file has
// already ended (or `file` is null).
bool ReadLine(std::FILE* file, char* buffer, int size);

// The answer line's value as atoi reads it: leading " \t\n\v\f\r", one sign, ASCII
// digits. Magnitudes beyond nine digits are clamped so "%d" never gives more than ten
// characters.
int ParseAnswer(const char* text);

// Reads the next problem into `lines` and `*answer`. A line that finds the file ended
// stays as it was; a missing answer line counts as empty (0). Returns false when the
// problem's first line could not be read: the problems have run out. `answerLine`, when
// given, receives the answer line as read; `linesRead` how many of the four lines were there.
bool ReadProblem(std::FILE* file, ProblemLines& lines, int* answer,
                 char (*answerLine)[kAnswerLineSize] = nullptr, int* linesRead = nullptr);

// The problem's lines, each trimmed of spaces and line ends, joined by one space.
std::string JoinedLines(const ProblemLines& lines);

}  // namespace problem_reader
