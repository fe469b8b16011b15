#pragma once
// One run of Open JTalk's command on one text: the wave it makes, and what it read the text
// as. Runs in the caller's thread and blocks it, so the program calls it off the game's.

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "speech/speech_setup.h"

// 16-bit mono samples, as Open JTalk writes them.
struct SpeechWave {
    std::vector<std::int16_t> samples;
    std::uint32_t rate = 0;
    bool cached = false;  // found on disk rather than made now
};

enum class SynthOutcome { kDone, kFailed, kTimedOut, kCancelled };

struct SynthResult {
    SynthOutcome outcome = SynthOutcome::kFailed;
    SpeechWave wave;
    std::string reading;  // the words' readings in katakana, when asked for
    std::string error;    // what the command said on failure
};

class OpenJTalk {
public:
    // Makes a private folder for its files; Usable() is false when it could not.
    explicit OpenJTalk(SpeechSetup setup);
    ~OpenJTalk();
    OpenJTalk(const OpenJTalk&) = delete;
    OpenJTalk& operator=(const OpenJTalk&) = delete;

    bool Usable() const { return !folder_.empty(); }
    const std::string& Folder() const { return folder_; }

    // Stops the command (and anything it started) after `timeoutMs`, or as soon as `cancel`
    // turns true; it is always reaped.
    SynthResult Synthesize(const std::string& utf8Text, int timeoutMs,
                           const std::atomic<bool>* cancel = nullptr, bool wantReading = false);

private:
    SpeechSetup setup_;
    std::string folder_;
};

// The readings in Open JTalk's trace of its text analysis, one word after another.
std::string ReadingFromTrace(const std::string& trace);
