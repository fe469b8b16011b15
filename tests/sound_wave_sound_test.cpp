// Sound objects: when a play sounds, which buffer it takes, and what happens without sound.
#include <gtest/gtest.h>

#include "platform/resources.h"
#include "platform/window_services.h"
#include "sound/wave_sound.h"
#include "sound_test_waves.h"

namespace {

// A rising ramp at the output rate, so that positions count output frames.
Bytes Ramp() {
    Bytes ramp(800);
    for (int i = 0; i < 800; ++i) ramp[i] = static_cast<unsigned char>(100 + i / 8);
    return ramp;
}

std::int16_t Heard(int index) {
    return Out8(static_cast<unsigned char>(100 + index / 8));
}

class WaveSoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        const Bytes wave = Wave8(Ramp());
        SetWaveResourceOverride("TESTRAMP", wave.data(), wave.size());
    }
    WaveSound* Create(int buffers) {
        return sound = WaveSoundCreate(out.device, "testramp", buffers);
    }
    SoundBuffer* Slot(int i) { return sound->apBuffers[i]; }
    void TearDown() override { WaveSoundDestroy(sound); }

    OfflineDevice out{8000};
    WaveSound* sound = nullptr;
};

}  // namespace

TEST_F(WaveSoundTest, SingleBufferStillSoundingIgnoresAnotherPlay) {
    ASSERT_TRUE(Create(1));  // found whatever the case of the name
    EXPECT_EQ(sound->cbSamples, 800u);
    WaveSoundPlay(sound, 0);
    out.Render(100);
    WaveSoundPlay(sound, 0);
    EXPECT_EQ(PositionOf(Slot(0)), 100u);
    EXPECT_EQ(out.Render(1)[0], Heard(100));  // one copy, not two
}

TEST_F(WaveSoundTest, LoopingMusicPlayedAgainGoesOnUntilStopped) {
    Create(1);
    WaveSoundPlay(sound, DSBPLAY_LOOPING);
    out.Render(300);
    WaveSoundPlay(sound, DSBPLAY_LOOPING);
    EXPECT_EQ(PositionOf(Slot(0)), 300u);
    EXPECT_EQ(out.Render(1000)[2 * 600], Heard(100));  // wrapped round, still going

    WaveSoundStop(sound);  // rewinds too
    EXPECT_EQ(StatusOf(Slot(0)), 0u);
    EXPECT_EQ(PositionOf(Slot(0)), 0u);
    EXPECT_EQ(out.Render(1)[0], 0);
    WaveSoundPlay(sound, DSBPLAY_LOOPING);
    EXPECT_EQ(out.Render(1)[0], Heard(0));
}

TEST_F(WaveSoundTest, ThreeBuffersRotateAndAFourthPlayCutsTheOldest) {
    ASSERT_TRUE(Create(3));
    WaveSoundPlay(sound, DSBPLAY_LOOPING);  // only a single buffer may loop
    EXPECT_EQ(StatusOf(Slot(0)), 0u);
    for (int i = 0; i < 3; ++i) {
        WaveSoundPlay(sound, 0);
        EXPECT_EQ(sound->nActive, i);
        out.Render(10);
    }
    WaveSoundPlay(sound, 0);
    EXPECT_EQ(sound->nActive, 0);
    EXPECT_EQ(PositionOf(Slot(0)), 0u);
    EXPECT_EQ(out.Render(1)[0], Heard(0) + Heard(20) + Heard(10));

    // An idle slot under nActive is played again, though others are idle too.
    WaveSoundStop(sound);
    WaveSoundPlay(sound, 0);
    WaveSoundPlay(sound, 0);
    WaveSoundStop(sound);
    WaveSoundPlay(sound, 0);
    EXPECT_EQ(sound->nActive, 1);
}

TEST_F(WaveSoundTest, LostBufferIsRestoredAndRefilledBeforeItPlays) {
    Create(1);
    out.device->LoseBufferMemory(Slot(0));
    WaveSoundPlay(sound, 0);
    const auto heard = out.Render(800);
    for (int i = 0; i < 800; i += 97) EXPECT_EQ(heard[2 * i], Heard(i)) << i;
}

TEST_F(WaveSoundTest, WithoutDeviceResourceOrObjectNothingHappens) {
    EXPECT_EQ(WaveSoundCreate(nullptr, "TESTRAMP", 1), nullptr);
    const Bytes noData = RiffBuilder().Chunk("fmt ", FormatBody(1, 8000, 1)).Build();
    SetWaveResourceOverride("TESTBROKEN", noData.data(), noData.size());
    EXPECT_EQ(WaveSoundCreate(out.device, "TESTBROKEN", 2), nullptr);

    WaveSound* missing = WaveSoundCreate(out.device, "NOSUCHSOUND", 0);
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->nBuffers, 1);
    EXPECT_EQ(missing->apBuffers[0], nullptr);
    for (WaveSound* none : {missing, static_cast<WaveSound*>(nullptr)}) {
        WaveSoundPlay(none, 0);
        WaveSoundPlay(none, DSBPLAY_LOOPING);
        WaveSoundStop(none);
        EXPECT_EQ(WaveSoundPickBuffer(none), nullptr);
        WaveSoundDestroy(none);
    }
}

namespace {

class MessageWindow : public WindowServices {
public:
    void SetTimer(unsigned, unsigned) override {}
    void KillTimer(unsigned) override {}
    void InvalidateRect(const RECT&, bool) override {}
    RECT GetClientRect() override { return {}; }
    Surface* BeginPaint() override { return nullptr; }
    void EndPaint(Surface*) override {}
    Surface* GetDC() override { return nullptr; }
    void ReleaseDC(Surface*) override {}
    int MessageBox(const std::string& text, const std::string& caption, unsigned) override {
        boxes.push_back(caption + ": " + text);
        return IDOK;
    }
    int AskFileName(std::string*) override { return IDCANCEL; }
    std::time_t CalendarTime() override { return 0; }
    std::int64_t MonotonicMilliseconds() override { return 0; }
    void SleepBriefly(std::int64_t) override {}

    std::vector<std::string> boxes;
};

int OpenWith(const char* driver, WindowServices* window) {
    ScopedEnv env("SDL_AUDIODRIVER", driver);
    return OpenSoundDevice(window);
}

void ReleaseGlobalDevice() {
    if (g_pDirectSound) g_pDirectSound->Release();
    g_pDirectSound = nullptr;
}

}  // namespace

TEST(SoundOpenTest, ReportsAMissingDeviceAndGoesOnSilent) {
    MessageWindow window;
    EXPECT_EQ(OpenWith("no-such-driver", &window), 0);
    EXPECT_EQ(g_pDirectSound, nullptr);
    EXPECT_EQ(window.boxes,
              std::vector<std::string>{"DirectSound Error: DirectSoundCreate FAILED"});
}

TEST(SoundOpenTest, OpensTheDeviceForAWindow) {
    MessageWindow window;
    EXPECT_EQ(OpenWith("dummy", &window), 1);
    EXPECT_NE(g_pDirectSound, nullptr);
    EXPECT_TRUE(window.boxes.empty());
    ReleaseGlobalDevice();

    // Without a window the level is refused, but the device stays open.
    EXPECT_EQ(OpenWith("dummy", nullptr), 0);
    EXPECT_NE(g_pDirectSound, nullptr);
    ReleaseGlobalDevice();
}
