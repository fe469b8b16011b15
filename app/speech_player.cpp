#include "app/speech_player.h"

#include <array>
#include <cstring>
#include <string>

#include "platform/sound_trace.h"
#include "sound/wave_sound.h"

namespace {

constexpr int kBytesPerSample = 2;

// The "fmt " body for 16-bit mono PCM at `rate`, as the device reads it.
std::array<unsigned char, 16> MonoFormat(std::uint32_t rate) {
    const std::uint32_t perSecond = rate * kBytesPerSample;
    return {WAVE_FORMAT_PCM,
            0,
            1,
            0,
            static_cast<unsigned char>(rate),
            static_cast<unsigned char>(rate >> 8),
            static_cast<unsigned char>(rate >> 16),
            static_cast<unsigned char>(rate >> 24),
            static_cast<unsigned char>(perSecond),
            static_cast<unsigned char>(perSecond >> 8),
            static_cast<unsigned char>(perSecond >> 16),
            static_cast<unsigned char>(perSecond >> 24),
            kBytesPerSample,
            0,
            16,
            0};
}

std::uint32_t StatusOf(SoundBuffer* buffer) {
    std::uint32_t status = 0;
    buffer->GetStatus(&status);
    return status;
}

}  // namespace

SpeechPlayer::~SpeechPlayer() {
    Stop();
}

void SpeechPlayer::Stop() {
    if (!buffer_) return;
    if (StatusOf(buffer_) & DSBSTATUS_PLAYING) TraceSound("hush", "speech");
    buffer_->Stop();
    buffer_->Release();
    buffer_ = nullptr;
}

bool SpeechPlayer::Playing() const {
    return buffer_ && (StatusOf(buffer_) & DSBSTATUS_PLAYING);
}

void SpeechPlayer::Play(const SpeechWave& wave, int pauseMs) {
    Stop();
    if (!g_pDirectSound || wave.samples.empty()) return;
    const auto format = MonoFormat(wave.rate);
    const std::size_t pause = static_cast<std::size_t>(wave.rate) * pauseMs / 1000;
    DSBUFFERDESC desc;
    desc.dwSize = DSBUFFERDESC_SIZE;
    desc.dwBufferBytes =
        static_cast<std::uint32_t>((wave.samples.size() + pause) * kBytesPerSample);
    desc.lpwfxFormat = format.data();
    if (g_pDirectSound->CreateSoundBuffer(&desc, &buffer_, nullptr) != DS_OK) return;
    buffer_->MarkAsSpeech();
    void* bytes = nullptr;
    std::uint32_t length = 0;
    if (buffer_->Lock(0, 0, &bytes, &length, nullptr, nullptr, DSBLOCK_ENTIREBUFFER) != DS_OK)
        return Stop();
    const std::size_t sound = wave.samples.size() * kBytesPerSample;
    std::memcpy(bytes, wave.samples.data(), sound);  // little-endian, as the device reads it
    std::memset(static_cast<unsigned char*>(bytes) + sound, 0, length - sound);
    buffer_->Unlock(bytes, length, nullptr, 0);
    if (buffer_->Play(0, 0, 0) != DS_OK) return;
    // How long it lasts, so that a recording can be checked for the music coming back.
    TraceSound("sound", "speech");
    TraceSound("speech", std::to_string(wave.samples.size() * 1000 / wave.rate).c_str());
}
