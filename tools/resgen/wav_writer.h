#pragma once
// RIFF WAVE files of 8-bit unsigned PCM, laid out as the game's sounds are: "fmt " at byte 12,
// "data" at byte 36, then (optionally) a "LIST" chunk of INFO text.

#include <QByteArray>
#include <cstdint>
#include <string>
#include <vector>

namespace resgen {

struct Wave {
    std::string name;  // resource name, also the INFO title
    int channels = 1;
    int rate = 8000;
    std::vector<std::uint8_t> pcm;  // interleaved frames
    std::string comment;            // the INFO comment; none means no "LIST" chunk
};

// The size of the "LIST" chunk, header included, that every sound with one carries.
inline constexpr int kListChunkBytes = 82;

QByteArray WriteWav(const Wave& wave);

}  // namespace resgen
