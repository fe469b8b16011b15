// Buffers of the sound device: descriptions, locking, duplicates and lost memory.
#include <gtest/gtest.h>

#include "sound_test_waves.h"

TEST(SoundDeviceTest, AcceptsOnlyPcmItCanPlay) {
    OfflineDevice out(44100);
    Bytes adpcm = FormatBody(1, 8000, 1);
    adpcm[0] = 2;
    const struct {
        Bytes format;
        std::uint32_t size, bytes;
        HRESULT expected;
    } cases[] = {
        {FormatBody(2, 22050, 2), 20, 100, DS_OK},
        {FormatBody(1, 11025, 1, 14), 20, 100, DS_OK},
        {FormatBody(1, 8000, 1), 24, 100, DSERR_INVALIDPARAM},  // another edition
        {FormatBody(1, 8000, 1), 20, 3, DSERR_INVALIDPARAM},
        {adpcm, 20, 100, DSERR_BADFORMAT},
        {FormatBody(3, 8000, 1), 20, 100, DSERR_BADFORMAT},
        {FormatBody(1, 50, 1), 20, 100, DSERR_BADFORMAT},
    };
    for (const auto& c : cases) {
        DSBUFFERDESC desc{c.size, 0, c.bytes, 0, c.format.data()};
        SoundBuffer* buffer = nullptr;
        EXPECT_EQ(out.device->CreateSoundBuffer(&desc, &buffer, nullptr), c.expected) << c.bytes;
        EXPECT_EQ(buffer != nullptr, c.expected == DS_OK);
        if (buffer) buffer->Release();
    }
}

TEST(SoundDeviceTest, LockWrapsIntoASecondRegion) {
    OfflineDevice out(8000);
    SoundBuffer* buffer = MakeBuffer(out.device, Bytes(10, 128), 1, 8000, 1);
    void *p1 = nullptr, *p2 = nullptr;
    std::uint32_t n1 = 0, n2 = 0;
    ASSERT_EQ(buffer->Lock(0, 10, &p1, &n1, &p2, &n2, 0), DS_OK);
    EXPECT_EQ(n1, 10u);
    EXPECT_EQ(n2, 0u);
    buffer->Unlock(p1, n1, p2, n2);
    auto* start = static_cast<unsigned char*>(p1);

    ASSERT_EQ(buffer->Lock(6, 6, &p1, &n1, &p2, &n2, 0), DS_OK);
    EXPECT_EQ(p1, start + 6);
    EXPECT_EQ(n1, 4u);
    EXPECT_EQ(p2, start);
    EXPECT_EQ(n2, 2u);
    buffer->Unlock(p1, n1, p2, n2);

    EXPECT_NE(buffer->Lock(10, 1, &p1, &n1, &p2, &n2, 0), DS_OK);
    EXPECT_NE(buffer->Lock(0, 11, &p1, &n1, &p2, &n2, 0), DS_OK);
    buffer->Release();
}

TEST(SoundDeviceTest, DuplicatesShareSamplesAndLossButNotPlayState) {
    SoundDevice* device = CreateSoundDeviceWithoutOutput(8000);
    SoundBuffer* original = MakeBuffer(device, Bytes{10, 20, 30, 40, 50, 60}, 1, 8000, 1);
    SoundBuffer* copy = nullptr;
    ASSERT_EQ(device->DuplicateSoundBuffer(original, &copy), DS_OK);
    SoundBuffer* none = copy;
    EXPECT_NE(device->DuplicateSoundBuffer(nullptr, &none), DS_OK);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(device->Release(), 2u);  // the buffers keep it alive

    std::int16_t frames[4];
    original->Play(0, 0, 0);
    device->Mixer().Render(frames, 2);
    original->Stop();
    EXPECT_EQ(StatusOf(copy), 0u);
    copy->Play(0, 0, DSBPLAY_LOOPING);
    device->Mixer().Render(frames, 1);
    EXPECT_EQ(frames[0], Out8(10));
    EXPECT_EQ(PositionOf(original), 2u);

    device->LoseBufferMemory(original);
    EXPECT_EQ(StatusOf(copy), DSBSTATUS_BUFFERLOST);
    EXPECT_EQ(copy->Play(0, 0, 0), DSERR_BUFFERLOST);
    EXPECT_EQ(original->Restore(), DS_OK);
    EXPECT_EQ(StatusOf(copy), 0u);
    copy->Play(0, 0, 0);
    device->Mixer().Render(frames, 1);
    EXPECT_EQ(frames[0], 0);  // the memory came back empty
    copy->Release();
    original->Release();
}
