#include <cstring>

#include "sound/wave_sound.h"

namespace {

constexpr std::uint32_t kMinFormatBody = 14;

std::uint32_t ReadLe32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

bool IsFourCc(const unsigned char* p, const char* id) {
    return std::memcmp(p, id, 4) == 0;
}

// A zero-size "data" body does not count as found for the size.
bool AllFound(const unsigned char** format, const unsigned char** samples,
              const std::uint32_t* cbSamples) {
    return (!format || *format) && (!samples || *samples) && (!cbSamples || *cbSamples != 0);
}

}  // namespace

bool ParseRiffWave(const unsigned char* wave, std::size_t size, const unsigned char** format,
                   const unsigned char** samples, std::uint32_t* cbSamples) {
    if (format) *format = nullptr;
    if (samples) *samples = nullptr;
    if (cbSamples) *cbSamples = 0;
    if (!wave || size < 12 || !IsFourCc(wave, "RIFF") || !IsFourCc(wave + 8, "WAVE")) {
        return false;
    }
    // A RIFF size that claims more bytes than the resource has is an error, never a reason
    // to read past the resource.
    const std::uint64_t end = 8 + std::uint64_t{ReadLe32(wave + 4)};
    if (end > size) return false;

    std::uint64_t pos = 12;
    while (pos < end) {
        if (end - pos < 8) return false;
        const unsigned char* header = wave + pos;
        const std::uint32_t bodySize = ReadLe32(header + 4);
        if (bodySize > end - pos - 8) return false;
        const unsigned char* body = header + 8;

        if (IsFourCc(header, "fmt ") && format && !*format) {
            if (bodySize < kMinFormatBody) return false;
            *format = body;
            if (AllFound(format, samples, cbSamples)) return true;
        } else if (IsFourCc(header, "data") &&
                   ((samples && !*samples) || (cbSamples && *cbSamples == 0))) {
            if (samples) *samples = body;
            if (cbSamples) *cbSamples = bodySize;
            if (AllFound(format, samples, cbSamples)) return true;
        }
        pos += 8 + std::uint64_t{bodySize} + (bodySize & 1);
    }
    return false;
}
