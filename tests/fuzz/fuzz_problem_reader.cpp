// Problem files are whatever the player points the game at: read any bytes as problems.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "game/problem_reader.h"
#include "platform/sjis.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace problem_reader;
    // fmemopen wants a buffer of at least one byte, even for an empty file.
    std::vector<char> bytes(data, data + size);
    bytes.push_back('\0');
    std::FILE* file = fmemopen(bytes.data(), size ? size : 1, "r");
    if (!file) return 0;
    if (size == 0) std::fgetc(file);  // skip the stand-in byte

    ProblemLines lines = {};
    int answer = 0;
    std::size_t problems = 0;
    while (ReadProblem(file, lines, &answer)) {
        // Each problem takes at least one byte, so the file ends within `size` problems.
        if (++problems > size) std::abort();
        for (const char* line : lines) {
            if (std::strlen(line) >= kTextLineSize) std::abort();
            DecodeShiftJis(line, static_cast<int>(std::strlen(line)));
        }
        if (std::to_string(answer).size() > 10) std::abort();
    }
    std::fclose(file);

    if (std::to_string(ParseAnswer(bytes.data())).size() > 10) std::abort();
    return 0;
}
