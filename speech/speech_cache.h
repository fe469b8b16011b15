#pragma once
// Waves made once, kept on disk in the user's cache folder, so that a problem read in one
// game is ready at once in every later one. Each file holds the whole key it was made for and
// a checksum: a damaged, short or foreign file is taken for missing and made again. Used off
// the game's thread, as synthesis is.

#include <cstdint>
#include <optional>
#include <string>

#include "speech/open_jtalk.h"

class SpeechCache {
public:
    static constexpr std::uintmax_t kMaxBytes = 64u << 20;

    // `folder` empty: nothing is kept. The voice file's identity (path, size, time of change)
    // and the synthesiser's options are part of every key, so another voice never answers.
    SpeechCache(std::string folder, const SpeechSetup& setup, std::uintmax_t maxBytes = kMaxBytes);

    std::optional<SpeechWave> Find(const std::string& text) const;
    // Written whole under a temporary name, then renamed; the oldest files go past the bound.
    // False when it could not be written.
    bool Keep(const std::string& text, const SpeechWave& wave);

    const std::string& Folder() const { return folder_; }

private:
    std::string Key(const std::string& text) const;
    std::string PathOf(const std::string& key) const;
    void Trim();

    std::string folder_;
    std::string setupKey_;
    std::uintmax_t maxBytes_;
};

// $XDG_CACHE_HOME/Fizmo/speech, or ~/.cache/Fizmo/speech; empty when neither is known.
std::string DefaultSpeechCacheFolder();
