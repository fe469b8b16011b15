#include "game/problem_encoding.h"

#include <algorithm>

#include "platform/files.h"

void Utf8Validator::Feed(const unsigned char* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count && valid_; ++i) {
        const unsigned b = bytes[i];
        if (pending_ > 0) {
            if (b < lowest_ || b > highest_) valid_ = false;
            lowest_ = 0x80;
            highest_ = 0xBF;
            --pending_;
            continue;
        }
        if (b < 0x80) continue;
        nonAscii_ = true;
        if (b >= 0xC2 && b <= 0xDF) {
            pending_ = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            pending_ = 2;
            if (b == 0xE0) lowest_ = 0xA0;
            if (b == 0xED) highest_ = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            pending_ = 3;
            if (b == 0xF0) lowest_ = 0x90;
            if (b == 0xF4) highest_ = 0x8F;
        } else {
            valid_ = false;
        }
    }
}

TextEncoding DetectProblemEncoding(std::FILE* file) {
    // Only a regular file has an end to scan to; a pipe or a device (/dev/zero) is read as
    // it comes, as Shift-JIS.
    if (!IsRegularFile(file) || std::fseek(file, 0, SEEK_SET) != 0) return TextEncoding::ShiftJis;
    Utf8Validator validator;
    unsigned char head[3] = {};
    std::size_t headSize = 0;
    unsigned char block[64 * 1024];
    bool ended = false;
    while (!ended && validator.Valid()) {
        std::size_t n = std::fread(block, 1, sizeof block, file);
        if (n == 0) break;
        if (headSize < 3) {
            const std::size_t take = std::min<std::size_t>(3 - headSize, n);
            std::copy(block, block + take, head + headSize);
            headSize += take;
        }
        // The end mark ends the text, as it does for the reader.
        const auto* mark = std::find(block, block + n, 0x1A);
        ended = mark != block + n;
        validator.Feed(block, static_cast<std::size_t>(mark - block));
    }
    const bool bom = headSize == 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF;
    const bool utf8 = validator.Valid() && validator.SawNonAscii();
    std::clearerr(file);
    std::fseek(file, utf8 && bom ? 3 : 0, SEEK_SET);
    return utf8 ? TextEncoding::Utf8 : TextEncoding::ShiftJis;
}
