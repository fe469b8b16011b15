// The short sound effects. Lengths are sample counts, fixed by the game's resource table.

#include "tools/resgen/sounds.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "tools/resgen/synth.h"

namespace resgen {
namespace {

Wave Mono(const char* name, int rate, const Signal& s, double peak, const char* comment) {
    return {name, 1, rate, ToPcm8({s}, rate, peak), comment};
}

double BurstCutoff(double t) {
    return 200 + 3200 * std::exp(-t / 0.18);
}
double RumbleCutoff(double) {
    return 110;
}

// The low part of the explosion for one ear: a shared source keeps the centre solid, a
// private one makes it wide.
Signal BombChannel(const Signal& sharedBurst, const Signal& sharedRumble, std::uint32_t seed) {
    constexpr int kRate = 22050;
    const int frames = static_cast<int>(sharedBurst.size());
    Lcg rng(seed);
    Signal burst = Noise(frames, rng);
    LowPass(burst, kRate, BurstCutoff);
    Signal rumble = Noise(frames, rng);
    LowPass(rumble, kRate, RumbleCutoff);
    LowPass(rumble, kRate, RumbleCutoff);
    Signal out(frames);
    for (int i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double tail = std::clamp((4.43 - t) / 1.2, 0.0, 1.0);  // let the rumble die out fully
        const double burstEnv = std::min(1.0, t / 0.004) * std::exp(-t / 0.22);
        const double rumbleEnv = std::min(1.0, t / 0.03) * std::exp(-t / 1.7) * tail * tail;
        out[i] = burstEnv * (0.6 * sharedBurst[i] + 0.4 * burst[i]) +
                 11.0 * rumbleEnv * (0.6 * sharedRumble[i] + 0.4 * rumble[i]);
    }
    Tone thump{.start = 0,
               .gate = 0.05,
               .hz = 75,
               .amp = 0.9,
               .partials = {1, 0.2},
               .env = {.attack = 0.004, .decay = 0.3, .sustain = 0, .release = 1.5},
               .glide = -1.6,
               .glideFloor = 0};
    AddTone(out, kRate, thump);
    return out;
}

}  // namespace

Wave Pinpon() {
    constexpr int kRate = 8000;
    Signal s(5789);
    const Envelope ring{.attack = 0.003, .decay = 0.16, .sustain = 0, .release = 0.06};
    AddTone(s, kRate,
            {.start = 0,
             .gate = 0.28,
             .hz = MidiHz(88),
             .amp = 0.8,
             .partials = {1, 0.3},
             .env = ring});
    AddTone(s, kRate,
            {.start = 0.21,
             .gate = 0.45,
             .hz = MidiHz(84),
             .amp = 1,
             .partials = Bell(),
             .env = {0.003, 0.2, 0, 0.05}});
    return Mono("PINPON", kRate, s, 0.85, "Right answer chime");
}

Wave Fizmo() {
    constexpr int kRate = 8000;
    Signal s(1528);
    // A quick fall from a high squeak to a low note: "pew".
    AddTone(s, kRate,
            {.start = 0,
             .gate = 0.15,
             .hz = 1700,
             .amp = 1,
             .partials = {1, 0, 0.33, 0, 0.2},
             .env = {0.002, 0.09, 0.15, 0.035},
             .glide = -14,
             .glideFloor = 260});
    return Mono("FIZMO", kRate, s, 0.8, "Missile shot");
}

Wave Boo() {
    constexpr int kRate = 8000;
    Signal s(3713);
    std::vector<double> buzz;
    for (int k = 1; k <= 14; ++k) buzz.push_back(1.0 / std::pow(k, 1.6));
    // "Bu-buu": two low notes, the second longer and sagging.
    AddTone(s, kRate,
            {.start = 0.005,
             .gate = 0.12,
             .hz = 150,
             .amp = 1,
             .partials = buzz,
             .env = {0.02, 0, 1, 0.04},
             .vibratoHz = 7,
             .vibratoDepth = 0.01});
    AddTone(s, kRate,
            {.start = 0.19,
             .gate = 0.18,
             .hz = 150,
             .amp = 1,
             .partials = buzz,
             .env = {0.02, 0, 1, 0.08},
             .glide = -0.45,
             .vibratoHz = 7,
             .vibratoDepth = 0.012});
    return Mono("BOO", kRate, s, 0.55, "Wrong answer buzz");
}

Wave Bomb() {
    constexpr int kRate = 22050;
    constexpr int kFrames = 195370 / 2;
    Lcg rng(0xB0B);
    Signal burst = Noise(kFrames, rng);
    LowPass(burst, kRate, BurstCutoff);
    Signal rumble = Noise(kFrames, rng);
    LowPass(rumble, kRate, RumbleCutoff);
    LowPass(rumble, kRate, RumbleCutoff);
    std::vector<Signal> stereo = {BombChannel(burst, rumble, 11), BombChannel(burst, rumble, 22)};
    return {"BOMB", 2, kRate, ToPcm8(stereo, kRate, 0.9), ""};
}

Wave Clear() {
    constexpr int kRate = 22050;
    constexpr int kFrames = 174342 / 2;
    Signal left(kFrames), right(kFrames);
    struct Note {
        double start, gate;
        int lead, harmony;  // MIDI notes
    };
    // Ta-ta-ta taaa, ta-ta-ta taaaaa.
    const Note notes[] = {{0.00, 0.10, 67, 64}, {0.13, 0.10, 67, 64}, {0.26, 0.10, 67, 64},
                          {0.39, 0.42, 72, 67}, {0.88, 0.11, 67, 64}, {1.04, 0.11, 72, 67},
                          {1.20, 0.11, 76, 72}, {1.36, 2.25, 79, 76}};
    for (const Note& n : notes) {
        const bool held = n.gate > 1;
        Tone lead{.start = n.start,
                  .gate = n.gate,
                  .hz = MidiHz(n.lead),
                  .amp = 0.5,
                  .partials = Brass(),
                  .env = {0.018, 0.25, 0.75, held ? 0.2 : 0.05},
                  .vibratoHz = held ? 5.5 : 0,
                  .vibratoDepth = held ? 0.006 : 0};
        Tone second = lead;
        second.hz = MidiHz(n.harmony);
        second.amp = 0.38;
        // The lead leans left, the harmony right; each is heard a little in the other ear.
        AddTone(left, kRate, lead);
        AddTone(right, kRate, second);
        lead.amp *= 0.45;
        second.amp *= 0.45;
        AddTone(right, kRate, lead);
        AddTone(left, kRate, second);
    }
    for (double start : {0.39, 1.36}) {
        Tone bass{.start = start,
                  .gate = start > 1 ? 2.2 : 0.42,
                  .hz = MidiHz(48),
                  .amp = 0.35,
                  .partials = {1, 0.5, 0.25},
                  .env = {0.01, 0.4, 0.6, 0.2}};
        AddTone(left, kRate, bass);
        AddTone(right, kRate, bass);
        Tone drum{.start = start,
                  .gate = 0.02,
                  .hz = 90,
                  .amp = 0.6,
                  .partials = {1, 0.3},
                  .env = {0.002, 0.1, 0, 0.5},
                  .glide = -2};
        AddTone(left, kRate, drum);
        AddTone(right, kRate, drum);
    }
    // A sparkle running up over the last chord, from ear to ear.
    const int sparkle[] = {84, 88, 91, 96};
    for (int i = 0; i < 4; ++i) {
        Tone bell{.start = 1.46 + 0.1 * i,
                  .gate = 0.6,
                  .hz = MidiHz(sparkle[i]),
                  .amp = 0.16,
                  .partials = Bell(),
                  .env = {0.002, 0.25, 0, 0.3}};
        AddTone(i % 2 ? right : left, kRate, bell);
    }
    return {"CLEAR", 2, kRate, ToPcm8({left, right}, kRate, 0.88), "Stage clear fanfare"};
}

std::vector<Wave> MakeSounds() {
    return {Pinpon(), Bgm(), Bomb(), Fizmo(), Boo(), Clear()};
}

}  // namespace resgen
