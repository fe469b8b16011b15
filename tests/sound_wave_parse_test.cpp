// The wave parser, fed well-formed and broken files in blocks of their exact size.
#include <gtest/gtest.h>

#include <memory>

#include "sound/wave_sound.h"
#include "sound_test_waves.h"

namespace {

struct Parsed {
    bool ok = false;
    std::ptrdiff_t format = -1, samples = -1;  // offsets into the file
    std::uint32_t size = 0;
};

// An exact-size copy, so that a read past the end is caught by the sanitizer build.
Parsed Parse(const Bytes& file, bool wantSamples = true) {
    auto exact = std::make_unique<unsigned char[]>(file.size());
    std::copy(file.begin(), file.end(), exact.get());
    const unsigned char *format = nullptr, *samples = nullptr;
    Parsed out;
    out.ok = ParseRiffWave(exact.get(), file.size(), &format, wantSamples ? &samples : nullptr,
                           wantSamples ? &out.size : nullptr);
    if (format) out.format = format - exact.get();
    if (samples) out.samples = samples - exact.get();
    return out;
}

const Bytes kFmt = FormatBody(1, 8000, 1);

}  // namespace

TEST(WaveParseTest, FindsBodiesInPlaceWhateverTheOrder) {
    const Parsed game = Parse(Wave8(Bytes(5789, 128)));
    EXPECT_TRUE(game.ok);
    EXPECT_EQ(game.format, 20);
    EXPECT_EQ(game.samples, 44);
    EXPECT_EQ(game.size, 5789u);

    // Odd bodies are followed by a pad byte: "fmt " starts at 12 + 12 + 10.
    const Parsed reversed = Parse(RiffBuilder()
                                      .Chunk("data", Bytes(3, 1))
                                      .Chunk("junk", Bytes(1, 9))
                                      .Chunk("fmt ", kFmt)
                                      .Build());
    EXPECT_TRUE(reversed.ok);
    EXPECT_EQ(reversed.samples, 20);
    EXPECT_EQ(reversed.size, 3u);
    EXPECT_EQ(reversed.format, 34 + 8);
}

TEST(WaveParseTest, TakesTheFirstOfEachAndSkipsEmptyData) {
    const Bytes formatOnly = RiffBuilder().Chunk("fmt ", kFmt).Build();
    EXPECT_TRUE(Parse(formatOnly, false).ok);
    EXPECT_FALSE(Parse(formatOnly).ok);
    EXPECT_FALSE(Parse(RiffBuilder().Chunk("fmt ", kFmt).Chunk("data", {}).Build()).ok);

    const Parsed later = Parse(RiffBuilder()
                                   .Chunk("data", {})
                                   .Chunk("fmt ", kFmt)
                                   .Chunk("data", Bytes(2, 7))
                                   .Chunk("fmt ", FormatBody(2, 8000, 1))
                                   .Chunk("data", Bytes(6, 1))
                                   .Build());
    EXPECT_TRUE(later.ok);
    EXPECT_EQ(later.format, 28);
    EXPECT_EQ(later.samples, 52);
    EXPECT_EQ(later.size, 2u);
}

TEST(WaveParseTest, RejectsBrokenFilesWithoutReadingPastThem) {
    const Bytes good = Wave8(Bytes(10, 128));
    Bytes notRiff = good, notWave = good, riffPastResource = good;
    notRiff[0] = 'X';
    notWave[11] = 'X';
    riffPastResource.resize(40);
    Bytes dataPastEnd = RiffBuilder().Chunk("fmt ", kFmt).Build(12);
    dataPastEnd.insert(dataPastEnd.end(), {'d', 'a', 't', 'a', 9, 0, 0, 0, 1, 2, 3, 4});
    const Bytes files[] = {
        Bytes(good.begin(), good.begin() + 11),
        notRiff,
        notWave,
        RiffBuilder().Chunk("fmt ", FormatBody(1, 8000, 1, 13)).Chunk("data", Bytes(4, 1)).Build(),
        RiffBuilder().Chunk("fmt ", kFmt).Build(),
        RiffBuilder().Chunk("data", Bytes(4, 1)).Build(),
        dataPastEnd,
        riffPastResource,
        RiffBuilder().Chunk("fmt ", kFmt).Chunk("data", Bytes(4, 1)).Build(-1),
    };
    for (std::size_t i = 0; i < std::size(files); ++i) EXPECT_FALSE(Parse(files[i]).ok) << i;
    EXPECT_FALSE(ParseRiffWave(nullptr, 100, nullptr, nullptr, nullptr));
    EXPECT_TRUE(Parse(RiffBuilder()
                          .Chunk("fmt ", FormatBody(1, 8000, 1, 14))
                          .Chunk("data", Bytes(4, 1))
                          .Build())
                    .ok);
}
