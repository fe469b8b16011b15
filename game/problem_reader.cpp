#include "game/problem_reader.h"

#include <algorithm>
#include <cstring>

namespace problem_reader {

namespace {

constexpr int kEndOfFileMark = 0x1A;
constexpr long long kLargestAnswer = 999'999'999;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

int ReadByte(std::FILE* file) {
    const int c = std::fgetc(file);
    if (c == kEndOfFileMark) {
        // Pushed back so every later read stops at it too.
        std::ungetc(c, file);
        return EOF;
    }
    if (c != '\r') return c;
    const int next = std::fgetc(file);
    if (next == '\n') return '\n';
    if (next != EOF) std::ungetc(next, file);
    return '\r';
}

bool ReadLine(std::FILE* file, char* buffer, int size) {
    if (!file || size < 1) return false;
    int length = 0;
    while (length < size - 1) {
        const int c = ReadByte(file);
        if (c == EOF) break;
        buffer[length++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    if (length == 0 && size > 1) return false;
    buffer[length] = '\0';
    return true;
}

int ParseAnswer(const char* text) {
    while (IsSpace(*text)) ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    long long value = 0;
    for (; IsDigit(*text); ++text) {
        value = value * 10 + (*text - '0');
        if (value > kLargestAnswer) value = kLargestAnswer;
    }
    return static_cast<int>(negative ? -value : value);
}

bool ReadProblem(std::FILE* file, ProblemLines& lines, int* answer,
                 char (*answerLine)[kAnswerLineSize], int* linesRead) {
    const bool found = ReadLine(file, lines[0], kTextLineSize);
    const bool second = ReadLine(file, lines[1], kTextLineSize);
    const bool third = ReadLine(file, lines[2], kTextLineSize);
    char line[kAnswerLineSize] = {};
    const bool fourth = ReadLine(file, line, kAnswerLineSize);
    *answer = ParseAnswer(line);
    if (answerLine) std::copy(line, line + kAnswerLineSize, *answerLine);
    if (linesRead) *linesRead = found + second + third + fourth;
    return found;
}

std::string JoinedLines(const ProblemLines& lines) {
    std::string text;
    for (const auto& line : lines) {
        const std::string whole(line, strnlen(line, sizeof line));
        const auto first = whole.find_first_not_of(" \r\n");
        if (first == std::string::npos) continue;
        if (!text.empty()) text += ' ';
        text += whole.substr(first, whole.find_last_not_of(" \r\n") - first + 1);
    }
    return text;
}

}  // namespace problem_reader
