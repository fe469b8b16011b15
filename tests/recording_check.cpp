// Checks a recording of the game's sound output (raw 16-bit stereo at the game's rate), made
// from a sound server's monitor, against the game's own waves and its play trace
// (FIZMO_TRACE_SOUNDS=1):
//  - the music starts the recording, sample for sample as the mixer renders it;
//  - every silence of 5 ms or more while the music plays is one of the music's own rests, and
//    the music never jumps, so an output block that came too late shows; unless the machine
//    itself stalled then, as the stall probe's list tells;
//  - every traced firing, right-answer and wrong-answer sound is there, near its time.
// Usage: fizmo_recording_check <recording> <trace> [<stalls>]
//        fizmo_recording_check --count <recording> <sound>: how often the sound is heard
//        fizmo_recording_check --speech <recording> <trace>: speech is heard over the music,
//          lowered while it reads, and the music comes back to full level after it
//        fizmo_recording_check --speech-return <recording> <trace>: the same, and at least
//          one reading is followed by the music alone
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/sdl_sound_output.h"
#include "platform/sound_device.h"
#include "res/resource_ids.h"
#include "sound/wave_sound.h"

namespace {

constexpr int kRate = SdlSoundOutput::kPreferredRate;
constexpr int kQuiet = 256;  // one step of an 8-bit sample
constexpr int kShortestGap = kRate * 5 / 1000;
constexpr int kEdge = kRate / 1000;  // rounding at the ends of a rest
constexpr int kEarliest = kRate * 40 / 1000, kLatest = kRate * 80 / 1000;
constexpr int kLongestStartDelay = kRate * 5 / 2;
constexpr int kMatchFrames = kRate / 10;
constexpr int kLongestJump = kRate / 5;
// How far a dropout may be from a stall of the machine that explains it, in seconds.
constexpr double kStallSlack = 0.15;
constexpr int kRecorderTail = kRate / 10;  // a recorder stopped mid-block may pad it with silence
// The output runs dry while nothing plays; a server then drops the first few ms written after
// it, which clips the start of the music when it is the first sound. Judged from one block on.
constexpr int kStreamRestart = 512;

using Samples = std::vector<std::int16_t>;  // interleaved stereo

std::vector<unsigned char> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int Fail(const std::string& why) {
    std::fflush(stdout);
    std::fprintf(stderr, "FAIL: %s\n", why.c_str());
    return 1;
}

// `frames` of wave resource `name` played alone on the game's own sound device, or nothing.
Samples RenderAlone(const char* name, std::size_t frames, bool looping) {
    SoundDevice* device = CreateSoundDeviceWithoutOutput(kRate);
    SoundBuffer* buffer = CreateWaveBuffer(device, name);
    Samples out;
    if (buffer && buffer->Play(0, 0, looping ? DSBPLAY_LOOPING : 0) == DS_OK) {
        out.resize(2 * frames);
        device->Mixer().Render(out.data(), static_cast<int>(frames));
        // A sound played once ends in silence: keep only the sound.
        while (!looping && out.size() > 2 && out[out.size() - 1] == 0 && out[out.size() - 2] == 0)
            out.resize(out.size() - 2);
    }
    if (buffer) buffer->Release();
    device->Release();
    return out;
}

int Loudness(const Samples& s, std::size_t frame) {
    return std::max(std::abs(s[2 * frame]), std::abs(s[2 * frame + 1]));
}
double Mono(const Samples& s, std::size_t frame) {
    return (s[2 * frame] + s[2 * frame + 1]) / 2.0;
}
std::size_t FirstSound(const Samples& s) {
    std::size_t f = 0;
    while (f < s.size() / 2 && Loudness(s, f) <= kQuiet) ++f;
    return f;
}
double Ms(long long frames) {
    return frames * 1000.0 / kRate;
}

struct Play {
    std::string name;
    long long ms;
};

std::vector<Play> ReadTrace(const std::string& path) {
    std::ifstream in(path);
    std::vector<Play> plays;
    std::string line, word;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        Play play;
        if (fields >> word >> play.name >> play.ms && word == "sound") plays.push_back(play);
    }
    return plays;
}

// Whether a tenth of a second of the recording from frame `at` is, in nine frames of ten, the
// mixer's music placed at frame `start`.
bool MusicAt(const Samples& rec, const Samples& music, long long start, long long at) {
    const long long from = at - start;
    if (from < 0 || static_cast<std::size_t>(at + kMatchFrames) > rec.size() / 2 ||
        static_cast<std::size_t>(from + kMatchFrames) > music.size() / 2)
        return false;
    std::size_t differing = 0;
    for (long long f = 0; differing <= kMatchFrames / 10 && f < kMatchFrames; ++f) {
        const std::size_t r = 2 * (at + f), m = 2 * (from + f);
        differing += rec[r] != music[m] || rec[r + 1] != music[m + 1];
    }
    return differing <= kMatchFrames / 10;
}

// The same over three tenths of a second, so that a note repeating its own period does not pass
// for the music moved by it.
bool MusicHolds(const Samples& rec, const Samples& music, long long start, long long at) {
    for (int tenth = 0; tenth < 3; ++tenth)
        if (!MusicAt(rec, music, start, at + tenth * kMatchFrames)) return false;
    return true;
}

// Where the music starts in the recording, at most at `latest`, or -1. Stretches a quarter of
// a second apart over its first ten seconds are tried, as other sounds may play over one.
long long AlignMusic(const Samples& rec, const Samples& music, long long latest,
                     long long step = kRate / 4, long long span = 10 * kRate) {
    for (long long from = 0; from < span; from += step)
        for (long long start = 0; start <= latest; ++start)
            if (MusicAt(rec, music, start, start + from)) return start;
    return -1;
}

// A place where the music in the recording jumps against the mixer's: a block the server
// played late, which puts off the rest, or one it dropped. It happened between two frames.
struct Jump {
    long long from, to, frames;
    bool silence = false;  // a silence the music does not have, `frames` long
};

// The jumps of the music placed at `start`, looked for every tenth of a second from `from`.
std::vector<Jump> FollowMusic(const Samples& rec, const Samples& music, long long start,
                              long long from, long long to) {
    std::vector<Jump> jumps;
    long long last = from;
    for (long long at = from; at + kMatchFrames < to; at += kMatchFrames) {
        if (MusicAt(rec, music, start, at)) {
            last = at;
            continue;
        }
        for (long long d = 1; d <= kLongestJump; ++d) {
            const long long moved = MusicHolds(rec, music, start + d, at)   ? d
                                    : MusicHolds(rec, music, start - d, at) ? -d
                                                                            : 0;
            if (moved == 0) continue;
            jumps.push_back({last, at, moved});
            start += moved;
            last = at;
            break;
        }
    }
    return jumps;
}

// Silences of the recording between `from` and `to` that the music placed at `start` does not
// have there; `gaps` counts every silence.
std::vector<Jump> ForeignGaps(const Samples& rec, const Samples& music, long long start,
                              long long from, long long to, int* gaps) {
    std::vector<Jump> foreign;
    for (long long f = from; f < to;) {
        if (Loudness(rec, f) > kQuiet) {
            ++f;
            continue;
        }
        long long end = f;
        while (end < to && Loudness(rec, end) <= kQuiet) ++end;
        if (end - f >= kShortestGap) {
            ++*gaps;
            bool rest = true;
            for (long long g = f + kEdge; rest && g + kEdge < end; ++g)
                rest = Loudness(music, g - start) <= kQuiet;
            if (!rest) foreign.push_back({f, end, end - f, true});
        }
        f = end;
    }
    return foreign;
}

// Normalised correlation of the start of the sound `effect` with what the recording holds
// beyond the music (if any), best over the lags from `from`; its lag goes to `lag`.
double BestMatch(const Samples& rec, const Samples& music, long long start, const Samples& effect,
                 long long from, long long to, long long* lag) {
    const std::size_t n = std::min<std::size_t>(effect.size() / 2, kMatchFrames);
    double effectEnergy = 0, best = 0;
    for (std::size_t i = 0; i < n; ++i) effectEnergy += Mono(effect, i) * Mono(effect, i);
    for (long long at = std::max(from, start); at <= to; ++at) {
        if (static_cast<std::size_t>(at) + n > rec.size() / 2) break;
        double dot = 0, energy = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const double under = music.empty() ? 0 : Mono(music, at + i - start);
            const double rest = Mono(rec, at + i) - under;
            dot += rest * Mono(effect, i);
            energy += rest * rest;
        }
        const double match = energy > 0 ? dot / std::sqrt(energy * effectEnergy) : 0;
        if (match > best) best = match, *lag = at;
    }
    return best;
}

Samples ReadRecording(const std::string& path) {
    const std::vector<unsigned char> bytes = ReadFile(path);
    Samples rec(bytes.size() / 4 * 2);
    std::copy_n(bytes.data(), rec.size() * 2, reinterpret_cast<unsigned char*>(rec.data()));
    return rec;
}

// How many times the recording holds sound `name` from its start, one after another.
int CountPlays(const Samples& rec, const char* name) {
    const Samples sound = RenderAlone(name, rec.size() / 2, false);
    const long long length = static_cast<long long>(sound.size() / 2);
    int count = 0;
    long long lag = 0;
    for (long long at = 0; length > 0 && at + length <= static_cast<long long>(rec.size() / 2);) {
        if (BestMatch(rec, {}, 0, sound, at, at + kMatchFrames, &lag) >= 0.9) {
            ++count;
            at = lag + length;
        } else {
            at += kMatchFrames + 1;
        }
    }
    return count;
}

// The recording against the music as the mixer renders it, from frame `start` on.
struct MusicInRecording {
    const Samples& rec;
    const Samples& music;
    long long start;
    long long delay = 0;  // how late the music is against the sounds played after it
    std::vector<Jump> jumps;
    std::vector<Jump> stalled;  // dropouts while the machine stalled: no sound is judged there
    std::map<std::string, Samples> effects;

    // Where the music is placed at recording frame `frame`, after the jumps before it.
    long long StartAt(long long frame) const {
        long long at = start;
        for (const Jump& j : jumps) at += j.to <= frame ? j.frames : 0;
        return at;
    }
    // Where play `p` must be heard, with the music first played at `musicMs`.
    long long FrameOf(const Play& p, long long musicMs) const {
        const long long frame = start + (p.ms - musicMs) * kRate / 1000 - delay;
        return frame + StartAt(frame) - start;
    }
    bool Stalled(long long from, long long to) const {
        return std::any_of(stalled.begin(), stalled.end(),
                           [&](const Jump& d) { return d.from <= to && d.to >= from; });
    }
    // The steady-clock time in seconds at which frame `frame` was played.
    double PlayedAt(long long frame, long long musicMs) const {
        return (musicMs + Ms(frame - StartAt(frame) + delay)) / 1000;
    }
    const Samples& Effect(const std::string& name) {
        Samples& effect = effects[name];
        if (effect.empty()) effect = RenderAlone(name.c_str(), kMatchFrames, false);
        return effect;
    }
    double Match(const std::string& name, long long from, long long to, long long* lag) {
        return BestMatch(rec, music, StartAt(from), Effect(name), from, to, lag);
    }
};

// Stalls of the machine itself, "<steady-clock s at their end> <ms>" per line.
using Stalls = std::vector<std::pair<double, double>>;  // steady-clock s at start and end
Stalls ReadStalls(const std::string& path) {
    std::ifstream in(path);
    Stalls stalls;
    double end = 0, ms = 0;
    while (in >> end >> ms) stalls.emplace_back(end - ms / 1000, end);
    return stalls;
}

// Milliseconds the machine stalled from `from` to `to`, steady-clock seconds.
double StalledMs(const Stalls& stalls, double from, double to) {
    double ms = 0;
    for (const auto& [begin, end] : stalls)
        if (end > from && begin < to) ms += (end - begin) * 1000;
    return ms;
}

// The places where the output ran dry while the music played: silences the music does not
// have, and jumps of the music. Each one the machine's own stall explains is not counted.
int CountDropouts(MusicInRecording& m, long long musicMs, long long from, long long end,
                  const Stalls& stalls) {
    int gaps = 0;
    std::vector<Jump> dropouts;
    long long start = m.start;
    for (const Jump& j : m.jumps) {
        if (j.to > end) break;
        for (const Jump& g : ForeignGaps(m.rec, m.music, start, from, j.from, &gaps))
            dropouts.push_back(g);
        dropouts.push_back(j);
        start += j.frames, from = j.to;
    }
    for (const Jump& g : ForeignGaps(m.rec, m.music, start, from, end, &gaps))
        dropouts.push_back(g);
    int unexplained = 0;
    for (const Jump& d : dropouts) {
        const bool stalled = StalledMs(stalls, m.PlayedAt(d.from, musicMs) - kStallSlack,
                                       m.PlayedAt(d.to, musicMs) + kStallSlack) > 0;
        unexplained += !stalled;
        if (stalled) m.stalled.push_back(d);
        std::printf("%s %.1f ms between %.3f and %.3f s%s\n",
                    d.silence ? "a silence the music does not have," : "the music jumps",
                    Ms(d.frames), Ms(d.from) / 1000, Ms(d.to) / 1000,
                    stalled ? ", as the machine stalled" : "");
    }
    std::printf("%d silences of 5 ms or more; %zu dropouts, %d of them not the machine's\n", gaps,
                dropouts.size(), unexplained);
    return unexplained;
}

// The plays after the first music until a sequence stops it; the frame where that happens
// (or the recording's end) goes to `musicEnd`.
std::vector<Play> SoundsOverTheMusic(const std::vector<Play>& plays, std::size_t firstMusic,
                                     const MusicInRecording& m, long long* musicEnd) {
    std::vector<Play> sounds;
    for (std::size_t i = firstMusic + 1; i < plays.size(); ++i) {
        const Play& p = plays[i];
        const long long at = m.FrameOf(p, plays[firstMusic].ms);
        if (p.name == WAVE_BGM || p.name == WAVE_BOMB || p.name == WAVE_CLEAR) {
            *musicEnd = std::min(*musicEnd, at);
            break;
        }
        if (at + kMatchFrames < *musicEnd) sounds.push_back(p);
    }
    return sounds;
}

// How many of `sounds` are not heard near their time before frame `end`; prints what it finds.
// The sink's time stands still while the machine stalls, so after a stall a sound is looked for
// that much further off, and the next ones from where it was heard.
int CountUnheard(MusicInRecording& m, const std::vector<Play>& sounds, long long musicMs,
                 long long end, const Stalls& stalls) {
    std::map<std::string, int> heard, played;
    std::vector<double> lags;
    long long drift = 0, lastMs = musicMs;
    for (const Play& p : sounds) {
        const long long at = m.FrameOf(p, musicMs) + drift;
        if (at + kMatchFrames >= end) break;
        if (m.Stalled(at - kEarliest, at + kMatchFrames + kLatest)) continue;
        ++played[p.name];
        const long long stalled = std::lround(
            StalledMs(stalls, lastMs / 1000.0, p.ms / 1000.0 + kStallSlack) * kRate / 1000);
        long long lag = 0;
        if (m.Match(p.name, at - kEarliest - stalled, at + kLatest + stalled, &lag) >= 0.5) {
            ++heard[p.name];
            lags.push_back(Ms(lag - at));
            drift += lag - at, lastMs = p.ms;
        }
    }
    int missing = 0;
    for (const auto& [name, count] : played) {
        std::printf("%s: played %d, heard %d\n", name.c_str(), count, heard[name]);
        missing += count - heard[name];
    }
    if (!lags.empty()) {
        std::sort(lags.begin(), lags.end());
        std::printf("sounds came %.0f to %.0f ms from their time (median %.0f ms)\n", lags.front(),
                    lags.back(), lags[lags.size() / 2]);
    }
    if (played[WAVE_FIRE] == 0) return Fail("the demo fired no shot while the music played");
    return missing;
}

// The music's gain at `at` (recording frames) and what is left once it is taken out, over a
// fifth of a second, at the placing of the music near `start` that matches best.
struct MusicShare {
    double gain = 0;
    double rest = 0;  // root mean square of the rest
};
MusicShare ShareOfMusic(const Samples& rec, const Samples& music, long long start, long long at) {
    // The recording may stand half a second off the trace's times by the end of minutes.
    constexpr long long kWindow = kRate / 5, kSearch = kRate / 2;
    MusicShare best;
    double bestScore = -1;
    for (long long d = -kSearch; d <= kSearch; ++d) {
        const long long from = at - start + d;
        if (from < 0 || static_cast<std::size_t>(from + kWindow) > music.size() / 2 ||
            static_cast<std::size_t>(at + kWindow) > rec.size() / 2)
            continue;
        double rm = 0, mm = 0, rr = 0;
        for (long long i = 0; i < kWindow; ++i) {
            const double r = Mono(rec, at + i), m = Mono(music, from + i);
            rm += r * m, mm += m * m, rr += r * r;
        }
        const double score = mm > 0 && rr > 0 ? rm / std::sqrt(mm * rr) : 0;
        if (score <= bestScore) continue;
        bestScore = score;
        best.gain = rm / mm;
        best.rest = std::sqrt(std::max(0.0, rr - rm * rm / mm) / kWindow);
    }
    return best;
}

struct Speech {
    long long ms, lengthMs;
};

// Each traced speech ("speech <ms long> <when>"), cut short where a hush stopped it: the
// program stops one before it plays the next.
std::vector<Speech> ReadSpeeches(const std::string& tracePath) {
    std::vector<Speech> speeches;
    std::ifstream in(tracePath);
    std::string line, word, name;
    long long length = 0, when = 0;
    while (std::getline(in, line)) {
        std::istringstream fields(line), hush(line);
        if (fields >> word >> length >> when && word == "speech")
            speeches.push_back({when, length});
        if (hush >> word >> name >> when && word == "hush" && !speeches.empty())
            speeches.back().lengthMs =
                std::min(speeches.back().lengthMs, when - speeches.back().ms);
    }
    return speeches;
}

// The trace's time `ms` in recording frames, the music having started at `start`.
long long FrameAt(long long start, long long musicMs, long long ms) {
    return start + (ms - musicMs) * kRate / 1000;
}

// Until the next reading, or the music stopping or starting over (a bomb, the end of the
// problems), or the recording's end.
long long NextChange(const std::vector<Speech>& speeches, std::size_t i,
                     const std::vector<Play>& plays, long long start, long long musicMs,
                     std::size_t recFrames) {
    long long next = static_cast<long long>(recFrames) - kRecorderTail;
    if (i + 1 < speeches.size()) next = FrameAt(start, musicMs, speeches[i + 1].ms);
    for (const Play& p : plays)
        if (p.ms > speeches[i].ms &&
            (p.name == WAVE_BGM || p.name == WAVE_BOMB || p.name == WAVE_CLEAR))
            next = std::min(next, FrameAt(start, musicMs, p.ms));
    return next;
}

// The music's lowest gain, a fifth of a second at a time, from a quarter of a second after a
// reading ended (its ramp back is far shorter) to half a second before the next change.
double LowestGainAfter(const Samples& rec, const Samples& music, long long start, long long end,
                       long long next, double* seconds) {
    double lowest = 2;
    long long at = end + kRate / 4;
    for (; at + kRate / 5 + kRate / 2 < next; at += kRate / 2)
        lowest = std::min(lowest, ShareOfMusic(rec, music, start, at).gain);
    *seconds = Ms(at - end) / 1000;
    return lowest;
}

// Each reading against the music as the mixer renders it: lowered under it, and back to full
// level after it wherever nothing follows for a while. `wantReturn`: at least one such stretch
// must be there.
int CheckSpeech(const Samples& rec, const std::string& tracePath, bool wantReturn) {
    const std::vector<Play> plays = ReadTrace(tracePath);
    const std::vector<Speech> speeches = ReadSpeeches(tracePath);
    const auto bgm =
        std::find_if(plays.begin(), plays.end(), [](auto& p) { return p.name == WAVE_BGM; });
    if (bgm == plays.end() || speeches.empty()) return Fail("no music or no speech was played");
    const Samples music = RenderAlone(WAVE_BGM, rec.size() / 2, true);
    // A reading may lower the music as it starts, and go on into the next: the music alone is
    // looked for a tenth of a second at a time, anywhere in the recording. Where there is none,
    // it is placed at the first sound, and each measure below looks around that.
    long long start = AlignMusic(rec, music, static_cast<long long>(FirstSound(rec)) + kRate,
                                 kMatchFrames, static_cast<long long>(rec.size() / 2));
    if (start < 0) {
        std::puts("the music is nowhere alone: placed at the first sound");
        start = static_cast<long long>(FirstSound(rec));
    }
    // The music alone before the first reading, where there is room: the measure itself is
    // sound there.
    const long long first = FrameAt(start, bgm->ms, speeches.front().ms);
    if (first - kRate * 7 / 10 >= start) {
        const MusicShare alone = ShareOfMusic(rec, music, start, first - kRate / 2);
        std::printf("the music alone before the first reading: at %.2f\n", alone.gain);
        if (alone.gain < 0.85) return Fail("the music is not as the mixer renders it");
    }
    int under = 0, lowered = 0, after = 0, back = 0;
    for (std::size_t i = 0; i < speeches.size(); ++i) {
        const long long at = FrameAt(start, bgm->ms, speeches[i].ms);
        const long long next = NextChange(speeches, i, plays, start, bgm->ms, rec.size() / 2);
        const long long end = std::min(next, at + speeches[i].lengthMs * kRate / 1000);
        if (end - at > kRate * 3 / 5) {
            const MusicShare share = ShareOfMusic(rec, music, start, at + kRate / 5);
            ++under;
            // Lowered, not gone: a music placed wrong would not be found at all.
            lowered += share.gain > 0.15 && share.gain < 0.6 && share.rest > 400;
            std::printf("speech at %.2f s: music at %.2f, %.0f besides\n", Ms(at) / 1000,
                        share.gain, share.rest);
        }
        if (end + kRate < next) {
            double seconds = 0;
            const double lowest = LowestGainAfter(rec, music, start, end, next, &seconds);
            ++after;
            back += lowest > 0.85;
            std::printf("after it, for %.1f s: music at %.2f at the lowest\n", seconds, lowest);
        }
    }
    std::printf("%d of %d readings heard over lowered music, music back after %d of %d\n", lowered,
                under, back, after);
    if (under == 0 || lowered * 10 < under * 8) return Fail("the speech is not heard as played");
    if (back < after) return Fail("the music did not come back to full level after a reading");
    if (wantReturn && after == 0) return Fail("no reading was followed by music alone");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--count") {
        std::printf("%d\n", CountPlays(ReadRecording(argv[2]), argv[3]));
        return 0;
    }
    if (argc == 4 &&
        (std::string(argv[1]) == "--speech" || std::string(argv[1]) == "--speech-return"))
        return CheckSpeech(ReadRecording(argv[2]), argv[3],
                           std::string(argv[1]) == "--speech-return");
    if (argc != 3 && argc != 4)
        return Fail("usage: fizmo_recording_check <recording> <trace> [<stalls>]");
    const std::string stallsPath = argc == 4 ? argv[3] : "";
    const Samples rec = ReadRecording(argv[1]);
    const std::vector<Play> plays = ReadTrace(argv[2]);
    std::printf("recorded %.1f s\n", Ms(rec.size() / 2) / 1000);

    const auto firstMusic =
        std::find_if(plays.begin(), plays.end(), [](auto& p) { return p.name == WAVE_BGM; });
    if (firstMusic == plays.end()) return Fail("the game never played its music");
    const long long musicMs = firstMusic->ms;
    const Samples music = RenderAlone(WAVE_BGM, rec.size() / 2, true);
    if (music.empty()) return Fail("the music cannot be played");
    // No later than if the first sound in the recording were the first one played.
    const long long latest =
        static_cast<long long>(FirstSound(rec)) + (musicMs - plays.front().ms + 100) * kRate / 1000;
    MusicInRecording m{rec, music, AlignMusic(rec, music, latest), 0, {}, {}, {}};
    if (m.start < 0) return Fail("the recording does not start with the music");
    const long long from = m.start + kStreamRestart;
    m.jumps = FollowMusic(rec, music, m.start, from, static_cast<long long>(rec.size() / 2));

    long long musicEnd = static_cast<long long>(rec.size() / 2) - kRecorderTail;
    const std::vector<Play> sounds =
        SoundsOverTheMusic(plays, firstMusic - plays.begin(), m, &musicEnd);
    if (sounds.empty()) return Fail("the demo played no sound while the music played");
    // A sound server may start a new stream late; the music then lags the sounds played
    // after it, all by the same time, which the first of them tells.
    long long lag = 0;
    const long long first = m.FrameOf(sounds.front(), musicMs);
    if (m.Match(sounds.front().name, first - kLongestStartDelay, first + kLatest, &lag) < 0.5)
        return Fail("the first sound after the music is not in the recording");
    m.delay = first - lag;
    const long long end = std::max(m.start, musicEnd - m.delay);
    std::printf("the music came %.0f ms late against the sounds after it\n", Ms(m.delay));
    std::printf("the music plays from %.3f s to %.3f s\n", Ms(m.start) / 1000, Ms(end) / 1000);
    if (Ms(end - m.start) < 5000) return Fail("less than 5 s of music to check");

    const Stalls stalls = ReadStalls(stallsPath);
    const int dropouts = CountDropouts(m, musicMs, from, end, stalls);
    const int unheard = CountUnheard(m, sounds, musicMs, end, stalls);
    if (dropouts > 0) return Fail("the output ran dry while the music played");
    if (unheard > 0) return Fail("sounds the game played are not in the recording");
    std::puts("the recording holds what the game played");
    return 0;
}
