#pragma once
// The sound device, with the operations of the DirectSound device the game was written
// against: one mixer, fed to the default output through SDL, and the buffers made on it.

#include <cstdint>
#include <memory>

#include "platform/sound_buffer.h"
#include "platform/sound_mixer.h"

class SdlSoundOutput;
class WindowServices;

constexpr std::uint32_t DSSCL_NORMAL = 1;
constexpr std::uint32_t DSSCL_WRITEPRIMARY = 4;

constexpr std::uint32_t DSBCAPS_STATIC = 0x02;
constexpr std::uint32_t DSBCAPS_CTRLFREQUENCY = 0x20;
constexpr std::uint32_t DSBCAPS_CTRLPAN = 0x40;
constexpr std::uint32_t DSBCAPS_CTRLVOLUME = 0x80;

constexpr std::uint32_t DSBSIZE_MIN = 4;
constexpr std::uint32_t DSBSIZE_MAX = 0x0FFFFFFF;
constexpr std::uint32_t DSBFREQUENCY_MIN = 100;
constexpr std::uint32_t DSBFREQUENCY_MAX = 200000;

constexpr std::uint16_t WAVE_FORMAT_PCM = 1;
// The shortest format the device reads: tag, channels, rate, bytes per second, block align.
constexpr std::uint32_t WAVEFORMAT_SIZE = 14;

// The buffer description. Its size field carries the 20 bytes the description had on the
// 32-bit platform the wave resources come from; that is the one edition the device accepts.
constexpr std::uint32_t DSBUFFERDESC_SIZE = 20;

struct DSBUFFERDESC {
    std::uint32_t dwSize = 0;
    std::uint32_t dwFlags = 0;
    std::uint32_t dwBufferBytes = 0;
    std::uint32_t dwReserved = 0;
    // The "fmt " body of a wave file, in place and possibly unaligned: little-endian
    // WAVEFORMATEX fields, of which the first WAVEFORMAT_SIZE bytes are read.
    const unsigned char* lpwfxFormat = nullptr;
};

class SoundDevice {
public:
    HRESULT SetCooperativeLevel(WindowServices* window, std::uint32_t level);
    // A new idle buffer at position 0, filled with silence.
    HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, SoundBuffer** buffer, void* outer);
    // A new idle buffer at position 0 that shares the original's sample memory.
    HRESULT DuplicateSoundBuffer(SoundBuffer* original, SoundBuffer** duplicate);

    std::uint32_t AddRef();
    // The device lives on until its last buffer is released too.
    std::uint32_t Release();

    // Tests and benchmarks render through it directly on a device without output.
    SoundMixer& Mixer() { return mixer_; }
    // The output feeding the device from the mixer; null on a device without output.
    SdlSoundOutput* Output() { return output_.get(); }

    // Test hook: the memory of `buffer` (and of its duplicates) is taken away, as a device
    // does to buffers in its own memory; its contents are gone and it stops playing.
    void LoseBufferMemory(SoundBuffer* buffer);

private:
    friend HRESULT DirectSoundCreate(SoundDevice** device);
    friend SoundDevice* CreateSoundDeviceWithoutOutput(std::uint32_t outputRate);
    explicit SoundDevice(std::uint32_t outputRate);
    ~SoundDevice();

    SoundMixer mixer_;
    // Declared after the mixer: the output stops before the mixer it feeds from goes.
    std::unique_ptr<SdlSoundOutput> output_;
    std::uint32_t references_ = 1;
};

// Opens the default output device; 0 on success. Fails when there is no audio device.
HRESULT DirectSoundCreate(SoundDevice** device);

// A device whose mixer only runs when its owner calls Render.
SoundDevice* CreateSoundDeviceWithoutOutput(std::uint32_t outputRate);
