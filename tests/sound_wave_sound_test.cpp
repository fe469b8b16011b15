// Sound objects: when a play sounds, which buffer it takes, and what happens without sound.
#include <gtest/gtest.h>

#include "platform/resources.h"
#include "platform/window_services.h"
#include "sound/wave_sound.h"
#include "sound_test_waves.h"

namespace {

// 800 frames of a rising ramp at the output rate, so positions count output frames.
const Bytes& Ramp() {
    static const Bytes ramp = [] {
        Bytes r(800);
        for (int i = 0; i < 800; ++i) r[i] = static_cast<unsigned char>(100 + i / 8);
        return r;
    }();
    return ramp;
}

std::int16_t Heard(int index) {
    return static_cast<std::int16_t>((Ramp()[index] - 128) * 256);
}

class WaveSoundTest : public ::testing::Test {
protected:
    void SetUp() override {
        const Bytes wave = Wave8(Ramp(), 8000);
        SetWaveResourceOverride("TESTRAMP", wave.data(), wave.size());
    }
    SoundBuffer* Slot(WaveSound* sound, int i) { return sound->apBuffers[i]; }

    OfflineDevice out{8000};
};

}  // namespace

TEST_F(WaveSoundTest, SingleBufferStillSoundingIgnoresAnotherPlay) {
    WaveSound* sound = WaveSoundCreate(out.device, "testramp", 1);  // any case finds it
    ASSERT_TRUE(sound);
    EXPECT_EQ(sound->cbSamples, 800u);
    WaveSoundPlay(sound, 0);
    out.Render(100);
    WaveSoundPlay(sound, 0);
    EXPECT_EQ(PositionOf(Slot(sound, 0)), 100u);
    EXPECT_EQ(out.Render(1)[0], Heard(100));  // one copy, not two
    WaveSoundDestroy(sound);
}

TEST_F(WaveSoundTest, LoopingMusicPlayedAgainGoesOnUninterrupted) {
    WaveSound* music = WaveSoundCreate(out.device, "TESTRAMP", 1);
    WaveSoundPlay(music, DSBPLAY_LOOPING);
    out.Render(300);
    WaveSoundPlay(music, DSBPLAY_LOOPING);
    EXPECT_EQ(PositionOf(Slot(music, 0)), 300u);
    const auto sound = out.Render(1000);
    EXPECT_EQ(sound[2 * 600], Heard(100));  // wrapped round, still going
    EXPECT_TRUE(StatusOf(Slot(music, 0)) & DSBSTATUS_PLAYING);

    // Stopped music starts again from its beginning.
    WaveSoundStop(music);
    WaveSoundPlay(music, DSBPLAY_LOOPING);
    EXPECT_EQ(out.Render(1)[0], Heard(0));
    WaveSoundDestroy(music);
}

TEST_F(WaveSoundTest, ThreeBuffersRotateAndAFourthPlayCutsTheOldest) {
    WaveSound* sound = WaveSoundCreate(out.device, "TESTRAMP", 3);
    ASSERT_TRUE(sound);
    WaveSoundPlay(sound, DSBPLAY_LOOPING);  // only a single buffer may loop
    EXPECT_EQ(StatusOf(Slot(sound, 0)), 0u);

    for (int i = 0; i < 3; ++i) {
        WaveSoundPlay(sound, 0);
        EXPECT_EQ(sound->nActive, i);
        out.Render(10);
    }
    EXPECT_EQ(PositionOf(Slot(sound, 0)), 30u);
    EXPECT_EQ(PositionOf(Slot(sound, 1)), 20u);
    EXPECT_EQ(PositionOf(Slot(sound, 2)), 10u);

    WaveSoundPlay(sound, 0);
    EXPECT_EQ(sound->nActive, 0);
    EXPECT_EQ(PositionOf(Slot(sound, 0)), 0u);
    EXPECT_EQ(out.Render(1)[0], Heard(0) + Heard(20) + Heard(10));

    // An idle slot under nActive is simply played again.
    WaveSoundStop(sound);
    WaveSoundPlay(sound, 0);
    WaveSoundPlay(sound, 0);
    EXPECT_EQ(sound->nActive, 1);
    WaveSoundStop(sound);
    WaveSoundPlay(sound, 0);
    EXPECT_EQ(sound->nActive, 1);
    WaveSoundDestroy(sound);
}

TEST_F(WaveSoundTest, StopRewindsSoTheNextPlayStartsAtTheBeginning) {
    WaveSound* sound = WaveSoundCreate(out.device, "TESTRAMP", 1);
    WaveSoundPlay(sound, 0);
    out.Render(100);
    WaveSoundStop(sound);
    EXPECT_EQ(StatusOf(Slot(sound, 0)), 0u);
    EXPECT_EQ(PositionOf(Slot(sound, 0)), 0u);
    EXPECT_EQ(out.Render(1)[0], 0);
    WaveSoundPlay(sound, 0);
    EXPECT_EQ(out.Render(1)[0], Heard(0));
    WaveSoundDestroy(sound);
}

TEST_F(WaveSoundTest, LostBufferIsRestoredAndRefilledBeforeItPlays) {
    WaveSound* sound = WaveSoundCreate(out.device, "TESTRAMP", 1);
    out.device->LoseBufferMemory(Slot(sound, 0));
    WaveSoundPlay(sound, 0);
    const auto heard = out.Render(800);
    for (int i = 0; i < 800; i += 97) EXPECT_EQ(heard[2 * i], Heard(i)) << i;
    WaveSoundDestroy(sound);
}

TEST_F(WaveSoundTest, WithoutDeviceResourceOrObjectNothingHappens) {
    EXPECT_EQ(WaveSoundCreate(nullptr, "TESTRAMP", 1), nullptr);

    WaveSound* missing = WaveSoundCreate(out.device, "NOSUCHSOUND", 0);
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->nBuffers, 1);
    EXPECT_EQ(Slot(missing, 0), nullptr);
    for (WaveSound* sound : {missing, static_cast<WaveSound*>(nullptr)}) {
        WaveSoundPlay(sound, 0);
        WaveSoundPlay(sound, DSBPLAY_LOOPING);
        WaveSoundStop(sound);
        EXPECT_EQ(WaveSoundPickBuffer(sound), nullptr);
        WaveSoundDestroy(sound);
    }

    const Bytes noData = RiffBuilder().Chunk("fmt ", FormatBody(1, 8000, 1)).Build();
    SetWaveResourceOverride("TESTBROKEN", noData.data(), noData.size());
    EXPECT_EQ(WaveSoundCreate(out.device, "TESTBROKEN", 2), nullptr);
    EXPECT_EQ(CreateWaveBuffer(out.device, "TESTBROKEN"), nullptr);
    EXPECT_EQ(LockWaveResource(&out, "TESTRAMP"), nullptr);  // no other modules
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
    void SleepBriefly() override {}

    std::vector<std::string> boxes;
};

// Runs `body` with SDL's audio driver chosen by name, the previous choice restored after.
template <typename Body>
void WithAudioDriver(const char* driver, Body body) {
    const char* old = std::getenv("SDL_AUDIODRIVER");
    const std::string saved = old ? old : "";
    setenv("SDL_AUDIODRIVER", driver, 1);
    body();
    if (old) {
        setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    } else {
        unsetenv("SDL_AUDIODRIVER");
    }
}

void ReleaseGlobalDevice() {
    if (g_pDirectSound) g_pDirectSound->Release();
    g_pDirectSound = nullptr;
}

}  // namespace

TEST(SoundOpenTest, ReportsAMissingDeviceAndGoesOnSilent) {
    MessageWindow window;
    WithAudioDriver("no-such-driver", [&] { EXPECT_EQ(OpenSoundDevice(&window), 0); });
    EXPECT_EQ(g_pDirectSound, nullptr);
    EXPECT_EQ(window.boxes,
              std::vector<std::string>{"DirectSound Error: DirectSoundCreate FAILED"});
}

TEST(SoundOpenTest, OpensTheDeviceForAWindow) {
    MessageWindow window;
    WithAudioDriver("dummy", [&] { EXPECT_EQ(OpenSoundDevice(&window), 1); });
    EXPECT_NE(g_pDirectSound, nullptr);
    EXPECT_TRUE(window.boxes.empty());
    ReleaseGlobalDevice();

    // Without a window the level is refused, but the device stays open.
    WithAudioDriver("dummy", [&] { EXPECT_EQ(OpenSoundDevice(nullptr), 0); });
    EXPECT_NE(g_pDirectSound, nullptr);
    ReleaseGlobalDevice();
}
