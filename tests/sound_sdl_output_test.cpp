// The SDL output: opens where a driver exists, plays on its own thread, writes what was mixed.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

#include "platform/sdl_sound_output.h"
#include "sound_test_waves.h"
#include "temp_folder.h"

namespace {

// Waits, without judging how long it took, for a one-shot to run out on the audio thread.
bool WaitUntilIdle(SoundBuffer* buffer) {
    for (int i = 0; i < 1000 && StatusOf(buffer) != 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return StatusOf(buffer) == 0;
}

}  // namespace

TEST(SoundOutputTest, OpensOnlyWhereThereIsADriver) {
    SoundDevice* device = reinterpret_cast<SoundDevice*>(&device);
    {
        ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
        EXPECT_NE(DirectSoundCreate(&device), DS_OK);
        EXPECT_EQ(device, nullptr);
    }
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    ASSERT_EQ(DirectSoundCreate(&device), DS_OK);
    SoundBuffer* buffer = MakeBuffer(device, Sine8(440, 8000, 400), 1, 8000, 1);
    buffer->Play(0, 0, 0);
    EXPECT_TRUE(WaitUntilIdle(buffer));  // played while this thread slept

    ShutdownSoundOutput();  // the device and its buffers stay usable, silently
    EXPECT_EQ(buffer->Play(0, 0, 0), DS_OK);
    buffer->Release();
    device->Release();
}

TEST(SoundOutputTest, DiskDriverRecordsWhatWasMixed) {
    const TempFolder folder;
    const std::string path = (folder / "output.raw").string();
    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv file("SDL_DISKAUDIOFILE", path);
    SoundDevice* device = nullptr;
    ASSERT_EQ(DirectSoundCreate(&device), DS_OK);
    const std::uint32_t rate = device->Mixer().OutputRate();
    SoundBuffer* buffer = MakeBuffer(device, Bytes(400, 192), 1, 8000, 1);  // a 50 ms pulse
    buffer->Play(0, 0, 0);
    ASSERT_TRUE(WaitUntilIdle(buffer));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // let silence follow
    buffer->Release();
    device->Release();  // closes the output and the file

    std::ifstream in(path, std::ios::binary);
    std::vector<std::int16_t> recorded;
    for (std::int16_t s; in.read(reinterpret_cast<char*>(&s), sizeof s);) recorded.push_back(s);

    const auto pulse = std::find_if(recorded.begin(), recorded.end(), [](int s) { return s != 0; });
    const auto after = std::find_if(pulse, recorded.end(), [](int s) { return s != Out8(192); });
    EXPECT_NEAR((after - pulse) / 2.0, 400.0 * rate / 8000, 1);
    EXPECT_NE(after, recorded.end());
    EXPECT_TRUE(std::all_of(after, recorded.end(), [](int s) { return s == 0; }));
}

TEST(SoundOutputTest, WakesForEachSoundAfterFallingSilent) {
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    SoundDevice* device = nullptr;
    ASSERT_EQ(DirectSoundCreate(&device), DS_OK);
    SoundBuffer* buffer = MakeBuffer(device, Sine8(440, 8000, 400), 1, 8000, 1);
    for (int round = 0; round < 3; ++round) {
        buffer->Play(0, 0, 0);
        EXPECT_TRUE(WaitUntilIdle(buffer)) << "round " << round;
        std::this_thread::sleep_for(std::chrono::milliseconds(30));  // the output waits now
    }
    buffer->Release();
    device->Release();  // closing lets a waiting output go
}

// Minimized or covered, the output opens again with long blocks, and with short ones once
// seen: closing must let a waiting output go, and each device must play on and wait again.
TEST(SoundOutputTest, OpensAgainOutOfSightAndBackAndPlaysOn) {
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    SoundDevice* device = nullptr;
    ASSERT_EQ(DirectSoundCreate(&device), DS_OK);
    SoundBuffer* tone = MakeBuffer(device, Sine8(440, 8000, 400), 1, 8000, 1);
    SoundBuffer* music = MakeBuffer(device, Sine8(220, 8000, 8000), 1, 8000, 1);
    for (const bool outOfSight : {true, false, true, false}) {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));  // silent: the output waits
        SetSoundOutputsOutOfSight(outOfSight);
        tone->Play(0, 0, 0);
        EXPECT_TRUE(WaitUntilIdle(tone)) << "out of sight " << outOfSight;
    }
    music->Play(0, 0, DSBPLAY_LOOPING);  // and with the music playing
    SetSoundOutputsOutOfSight(true);
    std::uint32_t before = 0, after = 0;
    music->GetCurrentPosition(&before, nullptr);
    for (int i = 0; i < 100 && after == before; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        music->GetCurrentPosition(&after, nullptr);
    }
    EXPECT_NE(after, before);
    SetSoundOutputsOutOfSight(false);
    tone->Release();
    music->Release();
    device->Release();
}
