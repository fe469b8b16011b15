#include "speech/open_jtalk.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "sound/wave_sound.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

constexpr auto kPollPeriod = std::chrono::milliseconds(2);
// Below the game, so that a busy machine gives the game its frames first.
constexpr int kNiceness = 5;
constexpr int kReadingField = 9;  // the pronunciation, in the trace's comma-separated fields
// Open JTalk begins and ends with silence; a question must be heard at once, and the music
// come back as soon as the reading ends. A little stays, so the voice does not start with a click.
constexpr int kSilence = 64;
constexpr std::uint32_t kKeptSilenceMs = 10;

void TrimSilence(SpeechWave* wave) {
    auto& s = wave->samples;
    const auto loud = [](std::int16_t v) { return v > kSilence || v < -kSilence; };
    const std::size_t margin = wave->rate * kKeptSilenceMs / 1000;
    const auto first = std::find_if(s.begin(), s.end(), loud);
    if (first == s.end()) return;
    const auto last = std::find_if(s.rbegin(), s.rend(), loud).base();
    const std::size_t end = std::min(s.size(), static_cast<std::size_t>(last - s.begin()) + margin);
    const std::size_t begin = static_cast<std::size_t>(first - s.begin()) -
                              std::min<std::size_t>(margin, first - s.begin());
    s = std::vector<std::int16_t>(s.begin() + begin, s.begin() + end);
}

std::string TempRoot() {
    for (const char* name : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
        const char* value = std::getenv(name);
        if (value && *value && fs::is_directory(value)) return value;
    }
    return "/tmp";
}

constexpr const char* kFolderPrefix = "fizmo-speech-";

// The folder's owner by its name ("fizmo-speech-<pid>-XXXXXX"), or 0 when it names none.
pid_t OwnerOf(const std::string& name) {
    if (name.rfind(kFolderPrefix, 0) != 0) return 0;
    const char* digits = name.c_str() + std::strlen(kFolderPrefix);
    char* end = nullptr;
    const long pid = std::strtol(digits, &end, 10);
    return end != digits && *end == '-' && pid > 0 ? static_cast<pid_t>(pid) : 0;
}

// Folders of this user whose program is gone: it was killed before it could remove its own.
// Another user's, or one whose program still runs (or cannot be told), is left alone.
void SweepAbandoned(const fs::path& root) {
    std::error_code error;
    for (fs::directory_iterator it(root, error), end; !error && it != end; it.increment(error)) {
        const pid_t owner = OwnerOf(it->path().filename().string());
        struct stat info {};
        if (owner == 0 || lstat(it->path().c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
            info.st_uid != getuid())
            continue;
        if (kill(owner, 0) == 0 || errno != ESRCH) continue;
        std::error_code removeError;
        fs::remove_all(it->path(), removeError);
    }
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool ParseWave(const std::string& bytes, SpeechWave* wave) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* format = nullptr;
    const unsigned char* samples = nullptr;
    std::uint32_t size = 0;
    if (!ParseRiffWave(data, bytes.size(), &format, &samples, &size)) return false;
    const int channels = format[2] | format[3] << 8;
    const std::uint32_t rate =
        format[4] | format[5] << 8 | format[6] << 16 | static_cast<std::uint32_t>(format[7]) << 24;
    const int bits = format[14] | format[15] << 8;
    if (channels != 1 || bits != 16 || rate == 0) return false;
    wave->rate = rate;
    wave->samples.resize(size / 2);
    for (std::size_t i = 0; i < wave->samples.size(); ++i)
        wave->samples[i] = static_cast<std::int16_t>(samples[2 * i] | samples[2 * i + 1] << 8);
    TrimSilence(wave);
    return !wave->samples.empty();
}

// Runs the command in a process group of its own, so a stop reaches whatever it started.
pid_t Spawn(const std::vector<std::string>& args, const std::string& errors) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK);
    posix_spawnattr_setpgroup(&attributes, 0);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (pid > 0) setpriority(PRIO_PROCESS, static_cast<id_t>(pid), kNiceness);
    return pid;
}

// The exit status, or -1 when it had to be stopped; the process is reaped either way.
int WaitFor(pid_t pid, int timeoutMs, const std::atomic<bool>* cancel, bool* timedOut) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        const bool late = std::chrono::steady_clock::now() >= deadline;
        if (late || (cancel && *cancel)) {
            *timedOut = late;
            kill(-pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(kPollPeriod);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

OpenJTalk::OpenJTalk(SpeechSetup setup) : setup_(std::move(setup)) {
    const fs::path root = TempRoot();
    SweepAbandoned(root);
    std::string pattern = (root / (kFolderPrefix + std::to_string(getpid()) + "-XXXXXX")).string();
    if (mkdtemp(pattern.data())) folder_ = pattern;
}

OpenJTalk::~OpenJTalk() {
    std::error_code error;
    if (!folder_.empty()) fs::remove_all(folder_, error);
}

SynthResult OpenJTalk::Synthesize(const std::string& utf8Text, int timeoutMs,
                                  const std::atomic<bool>* cancel, bool wantReading) {
    SynthResult result;
    if (folder_.empty()) return result;
    const fs::path folder(folder_);
    const std::string text = (folder / "text.txt").string();
    const std::string wave = (folder / "speech.wav").string();
    const std::string trace = (folder / "trace.txt").string();
    const std::string errors = (folder / "errors.txt").string();
    std::ofstream(text, std::ios::binary) << utf8Text << '\n';
    std::vector<std::string> args = {setup_.command, "-x", setup_.dictionary, "-m", setup_.voice,
                                     "-ow",          wave};
    if (wantReading) args.insert(args.end(), {"-ot", trace});
    args.push_back(text);
    const pid_t pid = Spawn(args, errors);
    bool timedOut = false;
    const int status = pid > 0 ? WaitFor(pid, timeoutMs, cancel, &timedOut) : -1;
    if (status == 0 && ParseWave(ReadFile(wave), &result.wave))
        result.outcome = SynthOutcome::kDone;
    else if (timedOut)
        result.outcome = SynthOutcome::kTimedOut;
    else if (cancel && *cancel)
        result.outcome = SynthOutcome::kCancelled;
    result.error = ReadFile(errors);
    if (wantReading) result.reading = ReadingFromTrace(ReadFile(trace));
    std::error_code error;
    for (const std::string& file : {text, wave, trace, errors}) fs::remove(file, error);
    return result;
}

std::string ReadingFromTrace(const std::string& trace) {
    std::istringstream in(trace);
    std::string line, reading;
    bool inAnalysis = false;
    while (std::getline(in, line)) {
        if (line == "[Text analysis result]") {
            inAnalysis = true;
            continue;
        }
        if (!inAnalysis) continue;
        if (line.empty()) break;
        std::istringstream fields(line);
        std::string field;
        for (int i = 0; i <= kReadingField && std::getline(fields, field, ','); ++i) {
        }
        reading += field;
    }
    return reading;
}
