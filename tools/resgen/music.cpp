// The background music: eight bars of a bright tune in C major over an "oom-pah" bass, about
// 96 beats a minute, exactly 220707 samples long. The last eighth is a rest in which every
// note dies away, so the loop joins silence to silence and never clicks.

#include <cmath>

#include "tools/resgen/sounds.h"
#include "tools/resgen/synth.h"

namespace resgen {
namespace {

constexpr int kRate = 11025;
constexpr int kSamples = 220707;
constexpr int kEighths = 64;
constexpr double kEighth = static_cast<double>(kSamples / kEighths) / kRate;

struct Step {
    int note;     // MIDI, 0 = rest
    int eighths;  // length
};

// C5 = 72.
const Step kTune[] = {
    {72, 2}, {76, 1}, {79, 1}, {76, 2}, {72, 2},                             // bar 1
    {74, 1}, {76, 1}, {77, 1}, {74, 1}, {79, 4},                             // bar 2
    {76, 1}, {77, 1}, {79, 2}, {81, 1}, {79, 1}, {76, 2},                    // bar 3
    {74, 1}, {76, 1}, {74, 1}, {72, 1}, {74, 4},                             // bar 4
    {72, 2}, {76, 1}, {79, 1}, {84, 2}, {81, 2},                             // bar 5
    {79, 1}, {81, 1}, {79, 1}, {76, 1}, {77, 2}, {74, 2},                    // bar 6
    {76, 1}, {79, 1}, {77, 1}, {74, 1}, {72, 1}, {76, 1}, {74, 1}, {71, 1},  // bar 7
    {72, 2}, {67, 2}, {72, 3}, {0, 1},                                       // bar 8
};

// The chord of each half bar: root (MIDI, bass octave) and whether it is minor.
struct Chord {
    int root;
    bool minor;
};
const Chord kChords[16] = {{48, false}, {48, false}, {43, false}, {43, false},
                           {48, false}, {45, true},  {43, false}, {43, false},
                           {48, false}, {41, false}, {48, false}, {43, false},
                           {48, false}, {43, false}, {48, false}, {48, false}};

void Melody(Signal& s) {
    int at = 0;
    for (const Step& step : kTune) {
        if (step.note) {
            const double gate = step.eighths * kEighth * (step.eighths >= 4 ? 0.92 : 0.82);
            AddTone(s, kRate,
                    {.start = at * kEighth,
                     .gate = gate,
                     .hz = MidiHz(step.note),
                     .amp = 0.5,
                     .partials = SoftSquare(),
                     .env = {0.008, 0.12, 0.7, 0.05},
                     .vibratoHz = step.eighths >= 4 ? 5.0 : 0,
                     .vibratoDepth = step.eighths >= 4 ? 0.005 : 0});
        }
        at += step.eighths;
    }
}

// Bass on the beat (root, fifth), a short chord on the off-beat; the final beat stays quiet.
void Accompaniment(Signal& s) {
    for (int beat = 0; beat < kEighths / 2 - 1; ++beat) {
        const Chord chord = kChords[beat / 2];
        const double start = 2 * beat * kEighth;
        const int bass = beat % 2 ? chord.root - 5 : chord.root;
        AddTone(s, kRate,
                {.start = start,
                 .gate = kEighth * 1.7,
                 .hz = MidiHz(bass),
                 .amp = 0.42,
                 .partials = {1, 0.35, 0.12, 0.05},
                 .env = {0.006, 0.22, 0.3, 0.06}});
        for (int interval : {chord.minor ? 15 : 16, 19, 24}) {
            AddTone(s, kRate,
                    {.start = start + kEighth,
                     .gate = kEighth * 0.35,
                     .hz = MidiHz(chord.root + interval),
                     .amp = 0.09,
                     .partials = {1, 0.2, 0.1},
                     .env = {0.004, 0.06, 0.2, 0.04}});
        }
    }
}

// A soft tick on every off-beat keeps the tune skipping along.
void Ticks(Signal& s) {
    Lcg rng(0xB6);
    const int length = static_cast<int>(0.05 * kRate);
    for (int beat = 0; beat < kEighths / 2 - 1; ++beat) {
        const int first = static_cast<int>(std::lround((2 * beat + 1) * kEighth * kRate));
        double previous = 0;
        for (int i = 0; i < length; ++i) {
            const double white = rng.Signed();
            s[first + i] += 0.07 * (white - previous) * std::exp(-i / (0.012 * kRate));
            previous = white;
        }
    }
}

}  // namespace

Wave Bgm() {
    Signal s(kSamples);
    Melody(s);
    Accompaniment(s);
    Ticks(s);
    return {"BGM", 1, kRate, ToPcm8({s}, kRate, 0.85), "Background music, loops"};
}

}  // namespace resgen
