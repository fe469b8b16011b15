#pragma once
// What よみあげ needs on the machine: Open JTalk's command, its dictionary and a voice. A
// family installs the first two from Debian; the voice may come from anywhere.

#include <string>
#include <vector>

enum class SpeechMissing { kNothing, kCommand, kDictionary, kVoice, kDamagedVoice };

struct SpeechSetup {
    std::string command;     // open_jtalk, as found on PATH
    std::string dictionary;  // the folder of Open JTalk's MeCab dictionary
    std::string voice;       // an HTS voice file
    SpeechMissing missing = SpeechMissing::kNothing;
    bool Ready() const { return missing == SpeechMissing::kNothing; }
};

// The folders searched for a voice when none is named: the user's, then Debian's.
std::vector<std::string> DefaultVoiceFolders();

// Looks for everything; `voiceFile` (may be empty) goes before any folder of `voiceFolders`,
// each searched with its subfolders one deep. FIZMO_JTALK_DICTIONARY names another dictionary.
SpeechSetup FindSpeechSetup(const std::string& voiceFile,
                            const std::vector<std::string>& voiceFolders);

// What is missing, in a line for stderr; empty when nothing is.
std::string MissingText(const SpeechSetup& setup);

// Who made the voice and under what licence, from a licence file beside it; empty if none.
std::string VoiceAttribution(const std::string& voice);
