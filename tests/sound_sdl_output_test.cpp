// The SDL output: opens where a driver exists, plays on its own thread, writes what was mixed.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <algorithm>
#include <fstream>
#include <optional>
#include <thread>

#include "platform/sdl_sound_output.h"
#include "sound_test_waves.h"

namespace {

class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// Waits, without judging how long it took, for a one-shot to run out on the audio thread.
bool WaitUntilIdle(SoundBuffer* buffer) {
    for (int i = 0; i < 1000 && (StatusOf(buffer) & DSBSTATUS_PLAYING); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return StatusOf(buffer) == 0;
}

}  // namespace

TEST(SoundOutputTest, DummyDriverPlaysWhileTheCallerWaits) {
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    SoundDevice* device = nullptr;
    ASSERT_EQ(DirectSoundCreate(&device), DS_OK);
    SoundBuffer* buffer = MakeBuffer(device, Sine8(440, 8000, 400), 1, 8000, 1);
    buffer->Play(0, 0, 0);
    EXPECT_TRUE(WaitUntilIdle(buffer));
    buffer->Release();
    device->Release();
}

TEST(SoundOutputTest, NoDriverFailsCleanly) {
    ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
    SoundDevice* device = reinterpret_cast<SoundDevice*>(&driver);
    EXPECT_NE(DirectSoundCreate(&device), DS_OK);
    EXPECT_EQ(device, nullptr);
}

TEST(SoundOutputTest, DiskDriverRecordsWhatWasMixed) {
    const std::string path = ::testing::TempDir() + "fizmo_sound_output.raw";
    std::remove(path.c_str());
    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv file("SDL_DISKAUDIOFILE", path);
    SoundDevice* device = nullptr;
    ASSERT_EQ(DirectSoundCreate(&device), DS_OK);
    const std::uint32_t rate = device->Mixer().OutputRate();
    SoundBuffer* buffer = MakeBuffer(device, Bytes(400, 192), 1, 8000, 1);  // 50 ms pulse
    buffer->Play(0, 0, 0);
    ASSERT_TRUE(WaitUntilIdle(buffer));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // let a silent block follow
    buffer->Release();
    device->Release();  // closes the output and flushes the file

    std::ifstream in(path, std::ios::binary);
    std::vector<std::int16_t> recorded;
    std::int16_t frame[2];
    while (in.read(reinterpret_cast<char*>(frame), sizeof frame)) {
        recorded.insert(recorded.end(), frame, frame + 2);
    }
    std::remove(path.c_str());

    auto pulse = std::find_if(recorded.begin(), recorded.end(), [](int s) { return s != 0; });
    ASSERT_NE(pulse, recorded.end());
    auto after = std::find_if(pulse, recorded.end(), [](int s) { return s != 64 * 256; });
    EXPECT_NEAR((after - pulse) / 2.0, 400.0 * rate / 8000, 1);
    EXPECT_NE(after, recorded.end());
    EXPECT_TRUE(std::all_of(after, recorded.end(), [](int s) { return s == 0; }));
}

TEST(SoundOutputTest, ShutdownLeavesDevicesUsable) {
    ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
    SoundDevice* device = nullptr;
    ASSERT_EQ(DirectSoundCreate(&device), DS_OK);
    SoundBuffer* buffer = MakeBuffer(device, Bytes(100, 200), 1, 8000, 1);
    ShutdownSoundOutput();
    EXPECT_EQ(buffer->Play(0, 0, 0), DS_OK);
    buffer->Release();
    device->Release();
}
