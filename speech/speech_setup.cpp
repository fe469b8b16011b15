#include "speech/speech_setup.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr const char* kCommandName = "open_jtalk";
// Where Debian's open-jtalk-mecab-naist-jdic puts the dictionary.
constexpr const char* kDebianDictionary = "/var/lib/mecab/dic/open-jtalk/naist-jdic";
constexpr const char* kDebianVoices = "/usr/share/hts-voice";
constexpr const char* kVoiceExtension = ".htsvoice";
constexpr int kAttributionLines = 12;

bool IsFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

std::string FindCommand() {
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "";
    std::size_t start = 0;
    while (start <= folders.size()) {
        const std::size_t end = std::min(folders.find(':', start), folders.size());
        const fs::path candidate =
            fs::path(end > start ? folders.substr(start, end - start) : ".") / kCommandName;
        if (IsFile(candidate) && access(candidate.c_str(), X_OK) == 0) return candidate.string();
        start = end + 1;
    }
    return {};
}

std::string FindDictionary() {
    const char* named = std::getenv("FIZMO_JTALK_DICTIONARY");
    const fs::path folder = named && *named ? named : kDebianDictionary;
    return IsFile(folder / "sys.dic") ? folder.string() : std::string();
}

// The first voice in `folder` or a subfolder of it, in name order so that a choice holds.
std::string FindVoiceIn(const fs::path& folder) {
    std::vector<fs::path> found;
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        if (it.depth() > 1) it.disable_recursion_pending();
        // Voices come with their licence beside them, named after the voice.
        const bool licence = it->path().filename().string().rfind("LICENSE", 0) == 0;
        if (it->path().extension() == kVoiceExtension && !licence && IsFile(it->path()))
            found.push_back(it->path());
    }
    if (found.empty()) return {};
    return std::min_element(found.begin(), found.end())->string();
}

bool LooksLikeVoice(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::string first;
    std::getline(in, first);
    return first.rfind("[GLOBAL]", 0) == 0;
}

}  // namespace

std::vector<std::string> DefaultVoiceFolders() {
    std::vector<std::string> folders;
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    if (data && *data)
        folders.push_back((fs::path(data) / "Fizmo" / "voices").string());
    else if (home && *home)
        folders.push_back((fs::path(home) / ".local/share/Fizmo/voices").string());
    folders.push_back(kDebianVoices);
    return folders;
}

SpeechSetup FindSpeechSetup(const std::string& voiceFile,
                            const std::vector<std::string>& voiceFolders) {
    SpeechSetup setup;
    setup.command = FindCommand();
    setup.dictionary = FindDictionary();
    if (!voiceFile.empty() && IsFile(voiceFile)) setup.voice = voiceFile;
    for (const std::string& folder : voiceFolders)
        if (setup.voice.empty()) setup.voice = FindVoiceIn(folder);
    if (setup.command.empty())
        setup.missing = SpeechMissing::kCommand;
    else if (setup.dictionary.empty())
        setup.missing = SpeechMissing::kDictionary;
    else if (setup.voice.empty())
        setup.missing = SpeechMissing::kVoice;
    else if (!LooksLikeVoice(setup.voice))
        setup.missing = SpeechMissing::kDamagedVoice;
    return setup;
}

std::string MissingText(const SpeechSetup& setup) {
    switch (setup.missing) {
        case SpeechMissing::kCommand:
            return "read-aloud needs Open JTalk's open_jtalk command (Debian: open-jtalk)";
        case SpeechMissing::kDictionary:
            return "read-aloud needs Open JTalk's dictionary (Debian: "
                   "open-jtalk-mecab-naist-jdic)";
        case SpeechMissing::kVoice:
            return "read-aloud needs a voice (*.htsvoice): --voice=FILE, or one in "
                   "~/.local/share/Fizmo/voices or /usr/share/hts-voice";
        case SpeechMissing::kDamagedVoice:
            return "read-aloud cannot use the voice '" + setup.voice + "': it is damaged";
        case SpeechMissing::kNothing:
            break;
    }
    return {};
}

// The licence's head, up to and including the line that names the licence.
std::string VoiceAttribution(const std::string& voice) {
    const fs::path path(voice);
    const fs::path licence = path.parent_path() / ("LICENSE_" + path.filename().string());
    std::ifstream in(IsFile(licence) ? licence : path.parent_path() / "COPYING");
    std::string text, line;
    for (int n = 0; n < kAttributionLines * 2 && std::getline(in, line); ++n) {
        const auto first = line.find_first_not_of("#- \t");
        if (first == std::string::npos) continue;
        const auto last = line.find_last_not_of("# \t");
        text += line.substr(first, last - first + 1) + "\n";
        if (line.find("icen") != std::string::npos && line.find("licensed") == std::string::npos)
            break;
    }
    return text;
}
