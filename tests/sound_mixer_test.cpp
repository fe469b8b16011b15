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

// Speech lowers the looping music, and only the music, ramping down and back up, and leaves
// the mix exactly as it was once the music is back.
TEST(MixerTest, MusicIsLoweredUnderSpeechAndComesBack) {
    constexpr int kRate = 8000;
    OfflineDevice out(kRate);
    Bytes music(2 * kRate), speech(2 * kRate / 2), effect(2 * kRate);
    for (std::size_t i = 0; i < music.size(); i += 2) music[i + 1] = 0x27;    // 9984
    for (std::size_t i = 0; i < effect.size(); i += 2) effect[i + 1] = 0x01;  // 256
    SoundBuffer* bgm = MakeBuffer(out.device, music, 1, kRate, 2);
    SoundBuffer* fx = MakeBuffer(out.device, effect, 1, kRate, 2);
    SoundBuffer* voice = MakeBuffer(out.device, speech, 1, kRate, 2);  // silent, half a second
    voice->MarkAsSpeech();
    bgm->Play(0, 0, DSBPLAY_LOOPING);
    fx->Play(0, 0, 0);
    EXPECT_EQ(out.Render(100)[0], 9984 + 256);
    voice->Play(0, 0, 0);
    const auto lowering = out.Render(kRate / 4);
    const int ramp = static_cast<int>(kRate * SoundMixer::kDuckRampMs / 1000);
    EXPECT_LT(lowering[2 * (ramp / 2)], 9984 + 256);
    EXPECT_GT(lowering[2 * (ramp / 2)], 9984 * 3 / 10 + 256);
    EXPECT_NEAR(lowering[2 * (ramp + 10)], 9984 * 3 / 10 + 256, 2);  // the effect is not lowered
    for (int i = 1; i < kRate / 4; ++i)
        ASSERT_LE(std::abs(lowering[2 * i] - lowering[2 * i - 2]), 9984 / ramp + 1) << i;
    // The speech ends a quarter of a second in; the mixer hears it in the chunk after, and
    // holds the music low for a moment, a chunk at a time.
    const auto back = out.Render(kRate * 6 / 10);
    const int ended = kRate / 4 + SoundMixer::kChunkFrames;
    const int hold = static_cast<int>(kRate * SoundMixer::kDuckHoldMs / 1000);
    const int held =
        (hold + SoundMixer::kChunkFrames - 1) / SoundMixer::kChunkFrames * SoundMixer::kChunkFrames;
    EXPECT_NEAR(back[2 * (kRate / 4 - 10)], 9984 * 3 / 10 + 256, 2);
    EXPECT_NEAR(back[2 * (kRate / 4 + hold - 10)], 9984 * 3 / 10 + 256, 2);
    EXPECT_EQ(back[2 * (ended + held + ramp)], 9984 + 256);
    EXPECT_EQ(out.Render(1)[0], 9984 + 256);
    voice->Release();
    fx->Release();
    bgm->Release();
}
