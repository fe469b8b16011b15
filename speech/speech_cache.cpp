#include "speech/speech_cache.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr char kMagic[8] = {'F', 'I', 'Z', 'S', 'P', 'E', 'E', 'C'};
// Raised whenever what is kept changes: the options, the trimming of silence, this layout.
constexpr std::uint32_t kFormat = 1;
constexpr const char* kExtension = ".speech";
constexpr const char* kTempPrefix = ".part-";
// A temporary file this old was left by a program that died while writing it.
constexpr auto kAbandoned = std::chrono::minutes(10);

std::uint64_t Fnv1a(const void* data, std::size_t size,
                    std::uint64_t hash = 14695981039346656037u) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 1099511628211u;
    return hash;
}

void Put(std::string* out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out->push_back(static_cast<char>(value >> (8 * i) & 0xff));
}

// Reads `bytes` little-endian bytes at *at, moving it on; false past the end.
bool Take(const std::string& in, std::size_t* at, int bytes, std::uint64_t* value) {
    if (in.size() - *at < static_cast<std::size_t>(bytes)) return false;
    *value = 0;
    for (int i = 0; i < bytes; ++i)
        *value |= static_cast<std::uint64_t>(static_cast<unsigned char>(in[*at + i])) << (8 * i);
    *at += bytes;
    return true;
}

std::string Encode(const std::string& key, const SpeechWave& wave) {
    std::string out(kMagic, sizeof kMagic);
    Put(&out, kFormat, 4);
    Put(&out, key.size(), 4);
    out += key;
    const std::size_t bytes = wave.samples.size() * sizeof(std::int16_t);
    Put(&out, wave.rate, 4);
    Put(&out, wave.samples.size(), 4);
    Put(&out, Fnv1a(wave.samples.data(), bytes), 8);
    for (std::int16_t sample : wave.samples) Put(&out, static_cast<std::uint16_t>(sample), 2);
    return out;
}

std::optional<SpeechWave> Decode(const std::string& in, const std::string& key) {
    std::size_t at = sizeof kMagic;
    std::uint64_t format = 0, keySize = 0, rate = 0, count = 0, sum = 0;
    if (in.compare(0, sizeof kMagic, kMagic, sizeof kMagic) != 0 || !Take(in, &at, 4, &format) ||
        format != kFormat || !Take(in, &at, 4, &keySize) || keySize != key.size() ||
        in.compare(at, key.size(), key) != 0)
        return std::nullopt;
    at += key.size();
    if (!Take(in, &at, 4, &rate) || !Take(in, &at, 4, &count) || !Take(in, &at, 8, &sum) ||
        rate == 0 || count == 0 || in.size() - at != count * 2)
        return std::nullopt;
    SpeechWave wave;
    wave.rate = static_cast<std::uint32_t>(rate);
    wave.samples.resize(count);
    for (std::size_t i = 0; i < count; ++i, at += 2)
        wave.samples[i] = static_cast<std::int16_t>(static_cast<unsigned char>(in[at]) |
                                                    static_cast<unsigned char>(in[at + 1]) << 8);
    if (Fnv1a(wave.samples.data(), count * sizeof(std::int16_t)) != sum) return std::nullopt;
    wave.cached = true;
    return wave;
}

// Makes the folder and any missing parent private to the user.
bool MakePrivateFolder(const fs::path& folder) {
    std::error_code error;
    if (fs::is_directory(folder, error)) return access(folder.c_str(), W_OK | X_OK) == 0;
    if (folder.has_parent_path() && folder.parent_path() != folder &&
        !MakePrivateFolder(folder.parent_path()))
        return false;
    return mkdir(folder.c_str(), 0700) == 0 || fs::is_directory(folder, error);
}

std::string VoiceIdentity(const std::string& voice) {
    struct stat info {};
    if (stat(voice.c_str(), &info) != 0) return voice;
    return voice + '\n' + std::to_string(info.st_size) + '\n' +
           std::to_string(info.st_mtim.tv_sec) + '.' + std::to_string(info.st_mtim.tv_nsec);
}

}  // namespace

SpeechCache::SpeechCache(std::string folder, const SpeechSetup& setup, std::uintmax_t maxBytes)
    : folder_(std::move(folder)),
      setupKey_(setup.command + '\n' + setup.dictionary + '\n' + VoiceIdentity(setup.voice) + '\n'),
      maxBytes_(maxBytes) {}

std::string SpeechCache::Key(const std::string& text) const {
    return setupKey_ + text;
}

std::string SpeechCache::PathOf(const std::string& key) const {
    char name[17];
    std::snprintf(name, sizeof name, "%016llx",
                  static_cast<unsigned long long>(Fnv1a(key.data(), key.size())));
    return (fs::path(folder_) / (std::string(name) + kExtension)).string();
}

std::optional<SpeechWave> SpeechCache::Find(const std::string& text) const {
    if (folder_.empty()) return std::nullopt;
    const std::string key = Key(text), path = PathOf(key);
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::optional<SpeechWave> wave = Decode(bytes, key);
    // Used now: the last to be dropped.
    if (wave) utimensat(AT_FDCWD, path.c_str(), nullptr, 0);
    return wave;
}

bool SpeechCache::Keep(const std::string& text, const SpeechWave& wave) {
    if (folder_.empty() || wave.samples.empty() || !MakePrivateFolder(folder_)) return false;
    const std::string key = Key(text);
    std::string temp = (fs::path(folder_) / (std::string(kTempPrefix) + "XXXXXX")).string();
    const int fd = mkstemp(temp.data());  // private: 0600
    if (fd < 0) return false;
    const std::string bytes = Encode(key, wave);
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
        if (n <= 0) break;
        written += static_cast<std::size_t>(n);
    }
    const bool whole = close(fd) == 0 && written == bytes.size();
    if (!whole || std::rename(temp.c_str(), PathOf(key).c_str()) != 0) {
        unlink(temp.c_str());
        return false;
    }
    Trim();
    return true;
}

void SpeechCache::Trim() {
    struct Entry {
        fs::path path;
        fs::file_time_type changed;
        std::uintmax_t size;
    };
    std::vector<Entry> entries;
    std::uintmax_t total = 0;
    std::error_code error;
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator it(folder_, error), end; !error && it != end; it.increment(error)) {
        std::error_code entryError;
        const std::string name = it->path().filename().string();
        if (!it->is_regular_file(entryError)) continue;
        const auto changed = it->last_write_time(entryError);
        const auto size = it->file_size(entryError);
        if (entryError) continue;
        if (name.rfind(kTempPrefix, 0) == 0) {
            if (now - changed > kAbandoned) fs::remove(it->path(), entryError);
            continue;
        }
        if (it->path().extension() != kExtension) continue;
        entries.push_back({it->path(), changed, size});
        total += size;
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.changed < b.changed; });
    for (const Entry& entry : entries) {
        if (total <= maxBytes_) break;
        std::error_code removeError;
        if (fs::remove(entry.path, removeError)) total -= entry.size;
    }
}

std::string DefaultSpeechCacheFolder() {
    const char* cache = std::getenv("XDG_CACHE_HOME");
    const char* home = std::getenv("HOME");
    fs::path root;
    if (cache && cache[0] == '/')
        root = cache;
    else if (home && home[0] == '/')
        root = fs::path(home) / ".cache";
    else
        return {};
    return (root / "Fizmo" / "speech").string();
}
