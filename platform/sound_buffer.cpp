#include "platform/sound_buffer.h"

#include "platform/sound_device.h"

SoundBuffer::SoundBuffer(SoundDevice* device, std::shared_ptr<SampleMemory> memory)
    : device_(device), mixer_(device->Mixer()) {
    voice_.memory = std::move(memory);
    device_->AddRef();
    std::lock_guard lock(mixer_.Mutex());
    mixer_.Attach(&voice_);
}

SoundBuffer::~SoundBuffer() {
    {
        std::lock_guard lock(mixer_.Mutex());
        mixer_.Detach(&voice_);
    }
    device_->Release();
}

std::uint32_t SoundBuffer::SizeInBytes() const {
    return static_cast<std::uint32_t>(voice_.memory->bytes.size());
}

std::uint32_t SoundBuffer::PositionInBytes() const {
    const SampleMemory& memory = *voice_.memory;
    const std::uint64_t frame = std::min(voice_.position >> 32, memory.frames);
    return static_cast<std::uint32_t>(frame * memory.format.BlockAlign());
}

HRESULT SoundBuffer::GetStatus(std::uint32_t* status) {
    if (!status) return DSERR_INVALIDPARAM;
    std::lock_guard lock(mixer_.Mutex());
    *status = 0;
    if (voice_.playing) *status |= DSBSTATUS_PLAYING;
    if (voice_.playing && voice_.looping) *status |= DSBSTATUS_LOOPING;
    if (voice_.memory->lost) *status |= DSBSTATUS_BUFFERLOST;
    return DS_OK;
}

HRESULT SoundBuffer::GetCurrentPosition(std::uint32_t* play, std::uint32_t* write) {
    std::lock_guard lock(mixer_.Mutex());
    if (play) *play = PositionInBytes();
    if (write) *write = PositionInBytes();
    return DS_OK;
}

HRESULT SoundBuffer::SetCurrentPosition(std::uint32_t position) {
    if (position >= SizeInBytes()) return DSERR_INVALIDPARAM;
    std::lock_guard lock(mixer_.Mutex());
    voice_.position = std::uint64_t{position / voice_.memory->format.BlockAlign()} << 32;
    return DS_OK;
}

HRESULT SoundBuffer::Lock(std::uint32_t offset, std::uint32_t bytes, void** region1,
                          std::uint32_t* length1, void** region2, std::uint32_t* length2,
                          std::uint32_t flags) {
    const std::uint32_t size = SizeInBytes();
    if (flags & DSBLOCK_ENTIREBUFFER) bytes = size;
    if (!region1 || !length1 || offset >= size || bytes == 0 || bytes > size) {
        return DSERR_INVALIDPARAM;
    }
    const std::uint32_t first = std::min(bytes, size - offset);
    if (first < bytes && (!region2 || !length2)) return DSERR_INVALIDPARAM;

    std::lock_guard lock(mixer_.Mutex());
    SampleMemory& memory = *voice_.memory;
    if (memory.lost) return DSERR_BUFFERLOST;
    ++memory.locks;
    *region1 = memory.bytes.data() + offset;
    *length1 = first;
    if (region2) *region2 = first < bytes ? memory.bytes.data() : nullptr;
    if (length2) *length2 = bytes - first;
    return DS_OK;
}

HRESULT SoundBuffer::Unlock(void*, std::uint32_t, void*, std::uint32_t) {
    std::lock_guard lock(mixer_.Mutex());
    SampleMemory& memory = *voice_.memory;
    if (memory.locks == 0) return DSERR_INVALIDPARAM;
    --memory.locks;
    return DS_OK;
}

HRESULT SoundBuffer::Play(std::uint32_t, std::uint32_t, std::uint32_t flags) {
    {
        std::lock_guard lock(mixer_.Mutex());
        if (voice_.memory->lost) return DSERR_BUFFERLOST;
        voice_.looping = (flags & DSBPLAY_LOOPING) != 0;
        voice_.playing = true;
    }
    mixer_.NoteVoiceStarted();
    return DS_OK;
}

HRESULT SoundBuffer::Stop() {
    std::lock_guard lock(mixer_.Mutex());
    voice_.playing = false;
    return DS_OK;
}

HRESULT SoundBuffer::Restore() {
    std::lock_guard lock(mixer_.Mutex());
    voice_.memory->lost = false;
    return DS_OK;
}

std::uint32_t SoundBuffer::AddRef() {
    return ++references_;
}

std::uint32_t SoundBuffer::Release() {
    const std::uint32_t left = --references_;
    if (left == 0) delete this;
    return left;
}

void SoundBuffer::MarkAsSpeech() {
    std::lock_guard lock(mixer_.Mutex());
    voice_.speech = true;
}
