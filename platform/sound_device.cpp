#include "platform/sound_device.h"

#include <algorithm>
#include <new>

#include "platform/sdl_sound_output.h"

namespace {

std::uint32_t ReadLe16(const unsigned char* p) {
    return p[0] | (p[1] << 8);
}

std::uint32_t ReadLe32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// 8- or 16-bit PCM, mono or stereo. The sample width comes from the block align, so that a
// 14-byte format without its bits-per-sample field is read no further than its end.
bool DecodeFormat(const unsigned char* fmt, PcmFormat* pcm) {
    const std::uint32_t tag = ReadLe16(fmt);
    const std::uint32_t channels = ReadLe16(fmt + 2);
    const std::uint32_t rate = ReadLe32(fmt + 4);
    const std::uint32_t blockAlign = ReadLe16(fmt + 12);
    if (tag != WAVE_FORMAT_PCM || channels < 1 || channels > 2) return false;
    if (rate < DSBFREQUENCY_MIN || rate > DSBFREQUENCY_MAX) return false;
    if (blockAlign != channels && blockAlign != 2 * channels) return false;
    pcm->channels = static_cast<int>(channels);
    pcm->bytesPerSample = static_cast<int>(blockAlign / channels);
    pcm->rate = rate;
    return true;
}

}  // namespace

SoundDevice::SoundDevice(std::uint32_t outputRate) : mixer_(outputRate) {}

SoundDevice::~SoundDevice() = default;

HRESULT SoundDevice::SetCooperativeLevel(WindowServices* window, std::uint32_t level) {
    if (!window || level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY) return DSERR_INVALIDPARAM;
    return DS_OK;
}

HRESULT SoundDevice::CreateSoundBuffer(const DSBUFFERDESC* desc, SoundBuffer** buffer, void*) {
    if (!buffer) return DSERR_INVALIDPARAM;
    *buffer = nullptr;
    if (!desc || desc->dwSize != DSBUFFERDESC_SIZE || !desc->lpwfxFormat) {
        return DSERR_INVALIDPARAM;
    }
    if (desc->dwBufferBytes < DSBSIZE_MIN || desc->dwBufferBytes > DSBSIZE_MAX) {
        return DSERR_INVALIDPARAM;
    }
    PcmFormat pcm;
    if (!DecodeFormat(desc->lpwfxFormat, &pcm)) return DSERR_BADFORMAT;
    try {
        auto memory = std::make_shared<SampleMemory>(pcm, desc->dwBufferBytes);
        *buffer = new SoundBuffer(this, std::move(memory));
    } catch (const std::bad_alloc&) {
        return DSERR_OUTOFMEMORY;
    }
    return DS_OK;
}

HRESULT SoundDevice::DuplicateSoundBuffer(SoundBuffer* original, SoundBuffer** duplicate) {
    if (!duplicate) return DSERR_INVALIDPARAM;
    *duplicate = nullptr;
    if (!original || &original->mixer_ != &mixer_) return DSERR_INVALIDPARAM;
    try {
        *duplicate = new SoundBuffer(this, original->voice_.memory);
    } catch (const std::bad_alloc&) {
        return DSERR_OUTOFMEMORY;
    }
    return DS_OK;
}

void SoundDevice::LoseBufferMemory(SoundBuffer* buffer) {
    std::lock_guard lock(mixer_.Mutex());
    SampleMemory& memory = *buffer->voice_.memory;
    memory.lost = true;
    std::fill(memory.bytes.begin(), memory.bytes.end(),
              memory.format.bytesPerSample == 1 ? 128 : 0);
    // Lost memory may be shared, so every buffer on it stops, not only this one.
    mixer_.StopVoicesOn(&memory);
}

std::uint32_t SoundDevice::AddRef() {
    return ++references_;
}

std::uint32_t SoundDevice::Release() {
    const std::uint32_t left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT DirectSoundCreate(SoundDevice** device) {
    if (!device) return DSERR_INVALIDPARAM;
    *device = nullptr;
    auto output = std::make_unique<SdlSoundOutput>();
    if (!output->Open()) return DSERR_NODRIVER;
    auto* created = new SoundDevice(output->Rate());
    output->Start(&created->mixer_);
    created->output_ = std::move(output);
    *device = created;
    return DS_OK;
}

SoundDevice* CreateSoundDeviceWithoutOutput(std::uint32_t outputRate) {
    return new SoundDevice(outputRate);
}
