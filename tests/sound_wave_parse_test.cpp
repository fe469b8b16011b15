// The wave parser, fed well-formed and broken files in buffers of their exact size.
#include <gtest/gtest.h>

#include <memory>

#include "sound/wave_sound.h"
#include "sound_test_waves.h"

namespace {

struct Parsed {
    bool ok = false;
    std::ptrdiff_t format = -1;  // offsets into the file, -1 for none
    std::ptrdiff_t samples = -1;
    std::uint32_t size = 0;
};

// Copies into a heap block of exactly the file's size, so a read past it is caught.
Parsed Parse(const Bytes& file, bool wantFormat = true, bool wantSamples = true,
             bool wantSize = true) {
    auto exact = std::make_unique<unsigned char[]>(file.size());
    std::copy(file.begin(), file.end(), exact.get());
    const unsigned char* format = nullptr;
    const unsigned char* samples = nullptr;
    Parsed out;
    out.ok = ParseRiffWave(exact.get(), file.size(), wantFormat ? &format : nullptr,
                           wantSamples ? &samples : nullptr, wantSize ? &out.size : nullptr);
    if (format) out.format = format - exact.get();
    if (samples) out.samples = samples - exact.get();
    return out;
}

}  // namespace

TEST(WaveParseTest, FindsBodiesInPlaceWhateverTheOrder) {
    const Parsed game = Parse(Wave8(Bytes(5789, 128)));
    EXPECT_TRUE(game.ok);
    EXPECT_EQ(game.format, 20);
    EXPECT_EQ(game.samples, 44);
    EXPECT_EQ(game.size, 5789u);

    // An odd body is followed by its pad byte; the next chunk starts after it.
    const Parsed reversed = Parse(RiffBuilder()
                                      .Chunk("data", Bytes(3, 1))
                                      .Chunk("junk", Bytes(1, 9))
                                      .Chunk("fmt ", FormatBody(1, 8000, 1))
                                      .Build());
    EXPECT_TRUE(reversed.ok);
    EXPECT_EQ(reversed.samples, 20);
    EXPECT_EQ(reversed.size, 3u);
    EXPECT_EQ(reversed.format, 12 + 12 + 10 + 8);
}

TEST(WaveParseTest, StopsOnceTheWantedOutputsAreKnown) {
    const Bytes formatOnly = RiffBuilder().Chunk("fmt ", FormatBody(1, 8000, 1)).Build();
    EXPECT_TRUE(Parse(formatOnly, true, false, false).ok);
    EXPECT_FALSE(Parse(formatOnly).ok);

    const Bytes twoOfEach = RiffBuilder()
                                .Chunk("fmt ", FormatBody(1, 8000, 1))
                                .Chunk("data", Bytes(4, 1))
                                .Chunk("fmt ", FormatBody(2, 8000, 1))
                                .Chunk("data", Bytes(6, 1))
                                .Build();
    const Parsed first = Parse(twoOfEach);
    EXPECT_TRUE(first.ok);
    EXPECT_EQ(first.format, 20);
    EXPECT_EQ(first.size, 4u);
}

TEST(WaveParseTest, EmptyDataDoesNotCountForTheSize) {
    EXPECT_FALSE(
        Parse(RiffBuilder().Chunk("fmt ", FormatBody(1, 8000, 1)).Chunk("data", Bytes()).Build())
            .ok);
    const Parsed later = Parse(RiffBuilder()
                                   .Chunk("data", Bytes())
                                   .Chunk("fmt ", FormatBody(1, 8000, 1))
                                   .Chunk("data", Bytes(2, 7))
                                   .Build());
    EXPECT_TRUE(later.ok);
    EXPECT_EQ(later.size, 2u);
    EXPECT_EQ(later.samples, 12 + 8 + 8 + 16 + 8);
}

TEST(WaveParseTest, RejectsBrokenFiles) {
    const Bytes good = Wave8(Bytes(10, 128));
    Bytes notRiff = good;
    notRiff[0] = 'X';
    Bytes notWave = good;
    notWave[11] = 'X';
    Bytes dataPastEnd = RiffBuilder().Chunk("fmt ", FormatBody(1, 8000, 1)).Build();
    dataPastEnd.insert(dataPastEnd.end(), {'d', 'a', 't', 'a', 9, 0, 0, 0, 1, 2, 3, 4});
    dataPastEnd[4] += 12;
    Bytes truncated = good;
    truncated.resize(40);
    const Bytes headerPastEnd =
        RiffBuilder().Chunk("fmt ", FormatBody(1, 8000, 1)).Chunk("data", Bytes(4, 1)).Build(-1);
    const struct {
        const char* what;
        Bytes file;
    } cases[] = {
        {"too short", Bytes(good.begin(), good.begin() + 11)},
        {"not RIFF", notRiff},
        {"not WAVE", notWave},
        {"format under 14 bytes", RiffBuilder()
                                      .Chunk("fmt ", FormatBody(1, 8000, 1, 13))
                                      .Chunk("data", Bytes(4, 1))
                                      .Build()},
        {"no data", RiffBuilder().Chunk("fmt ", FormatBody(1, 8000, 1)).Build()},
        {"no format", RiffBuilder().Chunk("data", Bytes(4, 1)).Build()},
        {"data body past the end", dataPastEnd},
        {"RIFF size past the resource", truncated},
        {"RIFF size ends inside a chunk", headerPastEnd},
    };
    for (const auto& c : cases) EXPECT_FALSE(Parse(c.file).ok) << c.what;
    EXPECT_FALSE(ParseRiffWave(nullptr, 100, nullptr, nullptr, nullptr));

    const Parsed shortest = Parse(
        RiffBuilder().Chunk("fmt ", FormatBody(1, 8000, 1, 14)).Chunk("data", Bytes(4, 1)).Build());
    EXPECT_TRUE(shortest.ok);
}
