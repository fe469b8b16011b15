#pragma once
// Problem files come as Shift-JIS, or as UTF-8 from today's editors. A file that is valid
// UTF-8 and not plain ASCII is read as UTF-8 (a byte-order mark is skipped); everything
// else is Shift-JIS, as before.

#include <cstddef>
#include <cstdio>

#include "platform/text_encoding.h"

// Streaming check: feed the bytes in any pieces, then ask.
class Utf8Validator {
public:
    void Feed(const unsigned char* bytes, std::size_t count);
    bool Valid() const { return valid_ && pending_ == 0; }
    bool SawNonAscii() const { return nonAscii_; }

private:
    int pending_ = 0;          // continuation bytes still expected
    unsigned lowest_ = 0x80;   // bounds of the next continuation byte (no overlongs,
    unsigned highest_ = 0xBF;  // no surrogates, nothing past U+10FFFF)
    bool valid_ = true;
    bool nonAscii_ = false;
};

// Reads the stream to its end (or its 0x1A end mark) to decide, then leaves it at the
// first byte of the first problem: the start, or just past a UTF-8 byte-order mark.
TextEncoding DetectProblemEncoding(std::FILE* file);
