// The mixer as heard: what comes out for known input, driven frame by frame.
#include <gtest/gtest.h>

#include <algorithm>

#include "sound_test_waves.h"

namespace {

int RisingZeroCrossings(const std::vector<std::int16_t>& stereo, int frames) {
    int count = 0;
    for (int i = 1; i < frames; ++i) {
        if (stereo[2 * (i - 1)] < 0 && stereo[2 * i] >= 0) ++count;
    }
    return count;
}

}  // namespace

TEST(MixerTest, EightBitSineSoundsAtItsPitchThenSilence) {
    OfflineDevice out(44100);
    const Bytes sine = Sine8(500, 8000, 800);  // 0.1 s, 50 cycles
    SoundBuffer* buffer = MakeBuffer(out.device, sine, 1, 8000, 1);
    ASSERT_TRUE(buffer);
    buffer->Play(0, 0, 0);

    const auto sound = out.Render(4410);
    EXPECT_NEAR(RisingZeroCrossings(sound, 4410), 50, 1);
    const auto [low, high] = std::minmax_element(sound.begin(), sound.end());
    EXPECT_NEAR(*high, 100 * 256, 256);
    EXPECT_NEAR(*low, -100 * 256, 256);
    for (int i = 0; i < 4410; ++i) ASSERT_EQ(sound[2 * i], sound[2 * i + 1]) << i;

    const auto after = out.Render(1000);
    EXPECT_TRUE(std::all_of(after.begin() + 20, after.end(), [](int s) { return s == 0; }));
    EXPECT_EQ(StatusOf(buffer), 0u);
    EXPECT_EQ(PositionOf(buffer), 0u);

    // Played to its end, it starts from the beginning next time.
    buffer->Play(0, 0, 0);
    EXPECT_EQ(out.Render(1)[0], (sine[0] - 128) * 256);
    buffer->Release();
}

TEST(MixerTest, StepsTheRateSampleBySample) {
    OfflineDevice out(16000);
    const Bytes ramp = {0, 64, 128, 192, 255};
    SoundBuffer* buffer = MakeBuffer(out.device, ramp, 1, 8000, 1);
    buffer->Play(0, 0, 0);
    const auto sound = out.Render(12);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(sound[2 * i], (ramp[i / 2] - 128) * 256) << i;
    EXPECT_EQ(sound[20], 0);
    buffer->Release();
}

TEST(MixerTest, SixteenBitStereoKeepsItsChannels) {
    OfflineDevice out(22050);
    Bytes frames;
    for (int i = 0; i < 8; ++i) {
        PutLe(frames, 0x1234, 2);
        PutLe(frames, static_cast<std::uint16_t>(-2000), 2);
    }
    SoundBuffer* buffer = MakeBuffer(out.device, frames, 2, 22050, 2);
    buffer->Play(0, 0, 0);
    const auto sound = out.Render(8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(sound[2 * i], 0x1234);
        EXPECT_EQ(sound[2 * i + 1], -2000);
    }
    buffer->Release();
}

TEST(MixerTest, VoicesAddUpAndClip) {
    OfflineDevice out(8000);
    SoundBuffer* loud = MakeBuffer(out.device, Bytes(8, 255), 1, 8000, 1);
    SoundBuffer* louder = MakeBuffer(out.device, Bytes(8, 255), 1, 8000, 1);
    SoundBuffer* low = MakeBuffer(out.device, Bytes(8, 0), 1, 8000, 1);
    SoundBuffer* lower = MakeBuffer(out.device, Bytes(8, 0), 1, 8000, 1);
    loud->Play(0, 0, 0);
    EXPECT_EQ(out.Render(1)[0], 127 * 256);
    louder->Play(0, 0, 0);
    EXPECT_EQ(out.Render(1)[0], 32767);
    loud->Stop();
    louder->Stop();
    low->Play(0, 0, 0);
    lower->Play(0, 0, 0);
    EXPECT_EQ(out.Render(1)[0], -32768);
    for (SoundBuffer* b : {loud, louder, low, lower}) b->Release();
}

TEST(MixerTest, LoopingWrapsAndStopHoldsThePosition) {
    OfflineDevice out(8000);
    Bytes ramp(100);
    for (int i = 0; i < 100; ++i) ramp[i] = static_cast<unsigned char>(28 + 2 * i);
    SoundBuffer* buffer = MakeBuffer(out.device, ramp, 1, 8000, 1);
    buffer->Play(0, 0, DSBPLAY_LOOPING);
    const auto sound = out.Render(250);
    EXPECT_EQ(sound[2 * 130], sound[2 * 30]);
    EXPECT_EQ(StatusOf(buffer), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    EXPECT_EQ(PositionOf(buffer), 50u);

    buffer->Stop();
    EXPECT_EQ(out.Render(10)[0], 0);
    EXPECT_EQ(PositionOf(buffer), 50u);
    buffer->Play(0, 0, DSBPLAY_LOOPING);
    EXPECT_EQ(out.Render(1)[0], (ramp[50] - 128) * 256);
    buffer->Release();
}
