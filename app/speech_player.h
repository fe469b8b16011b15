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

    // Stops what is being read and plays `wave`, then `pauseMs` of silence that still counts
    // as speech, as between two sentences; silent without a sound device.
    void Play(const SpeechWave& wave, int pauseMs = 0);
    void Stop();
    bool Playing() const;

private:
    SoundBuffer* buffer_ = nullptr;
};
