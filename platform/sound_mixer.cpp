#include "platform/sound_mixer.h"

#include <algorithm>

namespace {

std::uint8_t SilenceByte(const PcmFormat& format) {
    return format.bytesPerSample == 1 ? 128 : 0;
}

template <int Bytes>
std::int32_t ReadSample(const unsigned char* p) {
    if constexpr (Bytes == 1) {
        return (static_cast<std::int32_t>(p[0]) - 128) << 8;
    } else {
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
    }
}

// Adds the voice into `sum`, sample and hold at the voice's rate; a one-shot that runs out
// goes idle at position 0 so that it plays from its start next time.
template <int Channels, int Bytes>
void MixVoice(MixerVoice& voice, std::int32_t* sum, int frames, std::uint64_t step) {
    const SampleMemory& memory = *voice.memory;
    const unsigned char* data = memory.bytes.data();
    const std::uint64_t end = memory.frames << 32;
    std::uint64_t position = voice.position;
    for (int i = 0; i < frames; ++i) {
        if (position >= end) {
            if (!voice.looping || end == 0) {
                voice.playing = false;
                position = 0;
                break;
            }
            position %= end;
        }
        const unsigned char* frame = data + (position >> 32) * (Channels * Bytes);
        const std::int32_t left = ReadSample<Bytes>(frame);
        const std::int32_t right = Channels == 2 ? ReadSample<Bytes>(frame + Bytes) : left;
        sum[2 * i] += left;
        sum[2 * i + 1] += right;
        position += step;
    }
    voice.position = position;
}

using MixFunction = void (*)(MixerVoice&, std::int32_t*, int, std::uint64_t);

MixFunction MixFunctionFor(const PcmFormat& format) {
    const bool stereo = format.channels == 2;
    if (format.bytesPerSample == 1) return stereo ? MixVoice<2, 1> : MixVoice<1, 1>;
    return stereo ? MixVoice<2, 2> : MixVoice<1, 2>;
}

}  // namespace

SampleMemory::SampleMemory(const PcmFormat& pcm, std::uint32_t byteCount)
    : format(pcm), bytes(byteCount, SilenceByte(pcm)), frames(byteCount / pcm.BlockAlign()) {}

void SoundMixer::Attach(MixerVoice* voice) {
    voice->prev = nullptr;
    voice->next = voices_;
    if (voices_) voices_->prev = voice;
    voices_ = voice;
}

void SoundMixer::Detach(MixerVoice* voice) {
    if (voice->prev) voice->prev->next = voice->next;
    if (voice->next) voice->next->prev = voice->prev;
    if (voices_ == voice) voices_ = voice->next;
    voice->prev = voice->next = nullptr;
}

void SoundMixer::StopVoicesOn(const SampleMemory* memory) {
    for (MixerVoice* voice = voices_; voice; voice = voice->next) {
        if (voice->memory.get() == memory) voice->playing = false;
    }
}

void SoundMixer::Render(std::int16_t* out, int frames) {
    std::lock_guard lock(mutex_);
    while (frames > 0) {
        const int chunk = std::min(frames, kChunkFrames);
        RenderChunk(out, chunk);
        out += 2 * chunk;
        frames -= chunk;
    }
}

bool SoundMixer::AnyVoicePlaying() const {
    for (const MixerVoice* voice = voices_; voice; voice = voice->next) {
        if (voice->playing) return true;
    }
    return false;
}

void SoundMixer::WaitWhileSilent() {
    std::unique_lock lock(mutex_);
    voiceStarted_.wait(lock, [this] { return !waitingAllowed_ || AnyVoicePlaying(); });
}

void SoundMixer::AllowWaiting() {
    std::lock_guard lock(mutex_);
    waitingAllowed_ = true;
}

void SoundMixer::StopWaiting() {
    {
        std::lock_guard lock(mutex_);
        waitingAllowed_ = false;
    }
    voiceStarted_.notify_all();
}

bool SoundMixer::SpeechPlaying() const {
    for (const MixerVoice* voice = voices_; voice; voice = voice->next) {
        const SampleMemory& memory = *voice->memory;
        if (voice->speech && voice->playing && memory.locks == 0 && !memory.lost) return true;
    }
    return false;
}

void SoundMixer::AddMusicWithGain(int frames, bool speech) {
    const std::int32_t target = speech ? kDuckedGain : kFullGain;
    const std::int32_t rampFrames = static_cast<std::int32_t>(outputRate_ * kDuckRampMs / 1000);
    const std::int32_t step = std::max(1, (kFullGain - kDuckedGain) / std::max(1, rampFrames));
    for (int i = 0; i < frames; ++i) {
        if (musicGain_ < target) musicGain_ = std::min(target, musicGain_ + step);
        if (musicGain_ > target) musicGain_ = std::max(target, musicGain_ - step);
        for (int c = 0; c < 2; ++c)
            sum_[2 * i + c] += static_cast<std::int32_t>(
                (static_cast<std::int64_t>(music_[2 * i + c]) * musicGain_) >> 16);
    }
}

void SoundMixer::RenderChunk(std::int16_t* out, int frames) {
    std::fill_n(sum_.begin(), 2 * frames, 0);
    // Only while speech plays or the music comes back does the music take a pass of its own,
    // so the mix is otherwise exactly as it always was.
    bool speech = SpeechPlaying();
    if (speech) {
        holdFrames_ = outputRate_ * kDuckHoldMs / 1000;
    } else if (holdFrames_ > 0) {
        holdFrames_ -= std::min<std::uint32_t>(holdFrames_, frames);
        speech = true;
    }
    const bool lowering = speech || musicGain_ != kFullGain;
    if (lowering) std::fill_n(music_.begin(), 2 * frames, 0);
    for (MixerVoice* voice = voices_; voice; voice = voice->next) {
        const SampleMemory& memory = *voice->memory;
        if (!voice->playing || memory.locks > 0 || memory.lost) continue;
        const std::uint64_t step = (std::uint64_t{memory.format.rate} << 32) / outputRate_;
        std::int32_t* into = lowering && voice->looping ? music_.data() : sum_.data();
        MixFunctionFor(memory.format)(*voice, into, frames, step);
    }
    if (lowering) AddMusicWithGain(frames, speech);
    for (int i = 0; i < 2 * frames; ++i) {
        out[i] = static_cast<std::int16_t>(std::clamp(sum_[i], -32768, 32767));
    }
}
