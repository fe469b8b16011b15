#pragma once
// Plays a read-aloud wave through the game's own mixer, beside the music and the effects;
// the mixer lowers the music while it plays. One reading at a time.

#include "speech/open_jtalk.h"

class SoundBuffer;

class SpeechPlayer {
public:
    SpeechPlayer() = default;
    ~SpeechPlayer();
    SpeechPlayer(const SpeechPlayer&) = delete;
    SpeechPlayer& operator=(const SpeechPlayer&) = delete;

    // Stops what is being read and plays `wave`; silent without a sound device.
    void Play(const SpeechWave& wave);
    void Stop();

private:
    SoundBuffer* buffer_ = nullptr;
};
