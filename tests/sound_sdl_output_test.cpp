// The SDL output: opens where a driver exists, plays on its own thread, writes what was mixed.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

#include "platform/sdl_sound_output.h"
#include "sound_test_waves.h"

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
    const std::string path = ::testing::TempDir() + "fizmo_sound_output.raw";
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
    std::remove(path.c_str());

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
