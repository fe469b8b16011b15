// The mixer as heard: what comes out for known input, rendered frame by frame.
#include <gtest/gtest.h>

#include <algorithm>

#include "sound_test_waves.h"

TEST(MixerTest, EightBitSineSoundsAtItsPitchThenSilence) {
    OfflineDevice out(44100);
    const Bytes sine = Sine8(500, 8000, 800);  // 0.1 s: 50 cycles
    SoundBuffer* buffer = MakeBuffer(out.device, sine, 1, 8000, 1);
    buffer->Play(0, 0, 0);
    const auto sound = out.Render(4410);
    int rising = 0;
    for (int i = 1; i < 4410; ++i) rising += sound[2 * i - 2] < 0 && sound[2 * i] >= 0;
    EXPECT_NEAR(rising, 50, 1);
    const auto [low, high] = std::minmax_element(sound.begin(), sound.end());
    EXPECT_NEAR(*high, 100 * 256, 256);
    EXPECT_NEAR(*low, -100 * 256, 256);
    for (int i = 0; i < 4410; ++i) ASSERT_EQ(sound[2 * i], sound[2 * i + 1]) << i;

    const auto after = out.Render(1000);
    EXPECT_TRUE(std::all_of(after.begin() + 20, after.end(), [](int s) { return s == 0; }));
    EXPECT_EQ(StatusOf(buffer), 0u);
    buffer->Play(0, 0, 0);  // played to its end, it starts over
    EXPECT_EQ(out.Render(1)[0], Out8(sine[0]));
    buffer->Release();
}

TEST(MixerTest, StepsEachFormatToTheOutputRate) {
    OfflineDevice out(16000);
    const Bytes ramp = {0, 64, 128, 192, 255};
    SoundBuffer* mono = MakeBuffer(out.device, ramp, 1, 8000, 1);
    mono->Play(0, 0, 0);
    const auto held = out.Render(12);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(held[2 * i], Out8(ramp[i / 2])) << i;
    EXPECT_EQ(held[20], 0);

    const Bytes frame = {0x34, 0x12, 0x30, 0xF8};  // left 0x1234, right -2000
    SoundBuffer* stereo = MakeBuffer(out.device, frame, 2, 16000, 2);
    stereo->Play(0, 0, 0);
    const auto pair = out.Render(1);
    EXPECT_EQ(pair[0], 0x1234);
    EXPECT_EQ(pair[1], -2000);
    mono->Release();
    stereo->Release();
}

TEST(MixerTest, VoicesAddUpClipAndStopWhereTheyAre) {
    OfflineDevice out(8000);
    std::vector<SoundBuffer*> b;
    for (int level : {255, 255, 0, 0})
        b.push_back(MakeBuffer(out.device, Bytes(8, level), 1, 8000, 1));
    b[0]->Play(0, 0, 0);
    b[1]->Play(0, 0, DSBPLAY_LOOPING);
    const auto mixed = out.Render(11);
    EXPECT_EQ(mixed[0], 32767);
    EXPECT_EQ(mixed[20], 127 * 256);  // the one-shot is over, the loop goes on
    EXPECT_EQ(StatusOf(b[1]), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    EXPECT_EQ(PositionOf(b[1]), 3u);
    b[1]->Stop();
    EXPECT_EQ(out.Render(1)[0], 0);
    EXPECT_EQ(PositionOf(b[1]), 3u);
    b[2]->Play(0, 0, 0);
    b[3]->Play(0, 0, 0);
    EXPECT_EQ(out.Render(1)[0], -32768);
    for (SoundBuffer* buffer : b) buffer->Release();
}
