#pragma once
// A buffer of the sound device, with the operations and result codes of the DirectSound
// buffer the game was written against. Every operation runs on the caller's thread and
// returns at once; the mixer plays the buffer on the audio thread.

#include <cstdint>

#include "platform/sound_mixer.h"

using HRESULT = std::int32_t;

constexpr HRESULT DS_OK = 0;
constexpr HRESULT DSERR_GENERIC = static_cast<HRESULT>(0x80004005);
constexpr HRESULT DSERR_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);
constexpr HRESULT DSERR_INVALIDPARAM = static_cast<HRESULT>(0x80070057);
constexpr HRESULT DSERR_BADFORMAT = static_cast<HRESULT>(0x88780064);
constexpr HRESULT DSERR_NODRIVER = static_cast<HRESULT>(0x88780078);
constexpr HRESULT DSERR_BUFFERLOST = static_cast<HRESULT>(0x88780096);

constexpr std::uint32_t DSBSTATUS_PLAYING = 0x1;
constexpr std::uint32_t DSBSTATUS_BUFFERLOST = 0x2;
constexpr std::uint32_t DSBSTATUS_LOOPING = 0x4;

constexpr std::uint32_t DSBPLAY_LOOPING = 0x1;
constexpr std::uint32_t DSBLOCK_ENTIREBUFFER = 0x2;

class SoundDevice;

class SoundBuffer {
public:
    HRESULT GetStatus(std::uint32_t* status);
    // Byte positions; the write cursor is reported equal to the play cursor.
    HRESULT GetCurrentPosition(std::uint32_t* play, std::uint32_t* write);
    HRESULT SetCurrentPosition(std::uint32_t position);

    // Two writable regions covering `bytes` from `offset`, the second wrapping round to the
    // start (length 0 when the first covers all). Buffers sharing the memory stay silent
    // until Unlock.
    HRESULT Lock(std::uint32_t offset, std::uint32_t bytes, void** region1, std::uint32_t* length1,
                 void** region2, std::uint32_t* length2, std::uint32_t flags);
    HRESULT Unlock(void* region1, std::uint32_t length1, void* region2, std::uint32_t length2);

    // Plays from the current position, once or with DSBPLAY_LOOPING until stopped; a buffer
    // already playing keeps its position and takes the new looping choice.
    HRESULT Play(std::uint32_t reserved, std::uint32_t priority, std::uint32_t flags);
    // Stops without moving the position.
    HRESULT Stop();
    // Gives the memory back after a loss; its contents must then be written again.
    HRESULT Restore();

    std::uint32_t AddRef();
    std::uint32_t Release();

    // Speech: the music is lowered while this buffer plays.
    void MarkAsSpeech();

private:
    friend class SoundDevice;
    SoundBuffer(SoundDevice* device, std::shared_ptr<SampleMemory> memory);
    ~SoundBuffer();

    std::uint32_t SizeInBytes() const;
    std::uint32_t PositionInBytes() const;

    SoundDevice* device_;
    SoundMixer& mixer_;
    MixerVoice voice_;
    std::uint32_t references_ = 1;
};
