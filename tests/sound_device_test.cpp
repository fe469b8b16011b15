// Buffers of the sound device: descriptions, locking, duplicates and lost memory.
#include <gtest/gtest.h>

#include "sound_test_waves.h"

TEST(SoundDeviceTest, AcceptsOnlyPcmItCanPlay) {
    OfflineDevice out;
    struct Case {
        const char* what;
        Bytes format;
        std::uint32_t size;
        std::uint32_t bytes;
        HRESULT expected;
    };
    Bytes adpcm = FormatBody(1, 8000, 1);
    adpcm[0] = 2;
    Bytes oddAlign = FormatBody(1, 8000, 1);
    oddAlign[12] = 3;
    const Case cases[] = {
        {"8-bit mono", FormatBody(1, 8000, 1), 20, 100, DS_OK},
        {"16-bit stereo", FormatBody(2, 22050, 2), 20, 100, DS_OK},
        {"14-byte format", FormatBody(1, 11025, 1, 14), 20, 100, DS_OK},
        {"other size field", FormatBody(1, 8000, 1), 24, 100, DSERR_INVALIDPARAM},
        {"too small", FormatBody(1, 8000, 1), 20, 3, DSERR_INVALIDPARAM},
        {"not PCM", adpcm, 20, 100, DSERR_BADFORMAT},
        {"three channels", FormatBody(3, 8000, 1), 20, 100, DSERR_BADFORMAT},
        {"block align 3", oddAlign, 20, 100, DSERR_BADFORMAT},
        {"rate 50", FormatBody(1, 50, 1), 20, 100, DSERR_BADFORMAT},
    };
    for (const Case& c : cases) {
        DSBUFFERDESC desc;
        desc.dwSize = c.size;
        desc.dwBufferBytes = c.bytes;
        desc.lpwfxFormat = c.format.data();
        SoundBuffer* buffer = reinterpret_cast<SoundBuffer*>(&desc);
        EXPECT_EQ(out.device->CreateSoundBuffer(&desc, &buffer, nullptr), c.expected) << c.what;
        EXPECT_EQ(buffer != nullptr, c.expected == DS_OK) << c.what;
        if (buffer) {
            EXPECT_EQ(StatusOf(buffer), 0u);
            EXPECT_EQ(PositionOf(buffer), 0u);
            buffer->Release();
        }
    }
}

TEST(SoundDeviceTest, LockWrapsIntoASecondRegion) {
    OfflineDevice out;
    SoundBuffer* buffer = MakeBuffer(out.device, Bytes(10, 128), 1, 8000, 1);
    void* p1 = nullptr;
    void* p2 = nullptr;
    std::uint32_t n1 = 0, n2 = 0;
    ASSERT_EQ(buffer->Lock(0, 10, &p1, &n1, &p2, &n2, 0), DS_OK);
    EXPECT_EQ(n1, 10u);
    EXPECT_EQ(n2, 0u);
    buffer->Unlock(p1, n1, p2, n2);
    const auto* start = static_cast<unsigned char*>(p1);

    ASSERT_EQ(buffer->Lock(6, 6, &p1, &n1, &p2, &n2, 0), DS_OK);
    EXPECT_EQ(p1, start + 6);
    EXPECT_EQ(n1, 4u);
    EXPECT_EQ(p2, start);
    EXPECT_EQ(n2, 2u);
    buffer->Unlock(p1, n1, p2, n2);

    EXPECT_NE(buffer->Lock(10, 1, &p1, &n1, &p2, &n2, 0), DS_OK);
    EXPECT_NE(buffer->Lock(0, 11, &p1, &n1, &p2, &n2, 0), DS_OK);
    EXPECT_NE(buffer->Unlock(p1, n1, p2, n2), DS_OK);
    buffer->Release();
}

TEST(SoundDeviceTest, DuplicateSharesSamplesNotPlayState) {
    OfflineDevice out(8000);
    const Bytes ramp = {10, 20, 30, 40, 50, 60};
    SoundBuffer* original = MakeBuffer(out.device, ramp, 1, 8000, 1);
    SoundBuffer* copy = nullptr;
    ASSERT_EQ(out.device->DuplicateSoundBuffer(original, &copy), DS_OK);
    original->Play(0, 0, 0);
    out.Render(2);
    EXPECT_EQ(StatusOf(copy), 0u);
    EXPECT_EQ(PositionOf(copy), 0u);
    original->Stop();

    copy->Play(0, 0, 0);
    EXPECT_EQ(out.Render(1)[0], (10 - 128) * 256);
    EXPECT_EQ(PositionOf(original), 2u);

    SoundBuffer* none = copy;
    EXPECT_NE(out.device->DuplicateSoundBuffer(nullptr, &none), DS_OK);
    EXPECT_EQ(none, nullptr);

    copy->Release();
    original->Release();
}

TEST(SoundDeviceTest, BuffersKeepTheirDeviceAlive) {
    SoundDevice* device = CreateSoundDeviceWithoutOutput(8000);
    SoundBuffer* buffer = MakeBuffer(device, Bytes(10, 200), 1, 8000, 1);
    EXPECT_EQ(device->Release(), 1u);
    EXPECT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(buffer->Release(), 0u);
}

TEST(SoundDeviceTest, LostMemoryStaysSilentUntilRestoredAndRewritten) {
    OfflineDevice out(8000);
    SoundBuffer* buffer = MakeBuffer(out.device, Bytes(100, 200), 1, 8000, 1);
    SoundBuffer* copy = nullptr;
    out.device->DuplicateSoundBuffer(buffer, &copy);
    buffer->Play(0, 0, DSBPLAY_LOOPING);
    copy->Play(0, 0, DSBPLAY_LOOPING);
    out.device->LoseBufferMemory(buffer);

    EXPECT_EQ(StatusOf(buffer), DSBSTATUS_BUFFERLOST);
    EXPECT_EQ(StatusOf(copy), DSBSTATUS_BUFFERLOST);
    EXPECT_EQ(buffer->Play(0, 0, 0), DSERR_BUFFERLOST);
    void* p1 = nullptr;
    std::uint32_t n1 = 0;
    EXPECT_EQ(buffer->Lock(0, 4, &p1, &n1, nullptr, nullptr, 0), DSERR_BUFFERLOST);

    EXPECT_EQ(buffer->Restore(), DS_OK);
    EXPECT_EQ(StatusOf(copy), 0u);
    buffer->Play(0, 0, 0);
    EXPECT_EQ(out.Render(1)[0], 0);  // the memory came back empty
    copy->Release();
    buffer->Release();
}
