#pragma once
// A small additive synthesiser: band-limited tones with envelopes, noise and filters, all in
// doubles, then one conversion to 8-bit PCM.

#include <cstdint>
#include <vector>

#include "tools/resgen/lcg.h"

namespace resgen {

using Signal = std::vector<double>;

double MidiHz(double note);  // 69 = A4 = 440 Hz

struct Envelope {
    double attack = 0.005;  // seconds to full level
    double decay = 0;       // time constant of the fall towards `sustain`; 0 = none
    double sustain = 1;
    double release = 0.03;  // seconds from the gate's end to silence
};

struct Tone {
    double start = 0;  // seconds
    double gate = 0.1;
    double hz = 440;
    double amp = 0.5;
    std::vector<double> partials = {1};  // amplitude of harmonic 1, 2, 3, ...
    Envelope env;
    double glide = 0;       // frequency multiplied by exp(glide * t)
    double glideFloor = 0;  // Hz added after the glide, so a falling sweep levels out
    double vibratoHz = 0, vibratoDepth = 0;
};

// Adds `tone` to `out`; harmonics that would reach the Nyquist frequency fade out first.
void AddTone(Signal& out, int rate, const Tone& tone);

double EnvelopeAt(const Envelope& env, double t, double gate);

// Partials of the voices we use.
std::vector<double> SoftSquare();
std::vector<double> Brass();
std::vector<double> Bell();

// White noise in [-1, 1).
Signal Noise(int frames, Lcg& rng);

// One-pole low-pass with a cut-off that may change per sample.
void LowPass(Signal& s, int rate, double (*cutoffAt)(double t));

// Scales all channels together to `peak`, fades a few milliseconds in and out, and packs
// interleaved unsigned 8-bit samples (128 is silence) that start and end at 128.
std::vector<std::uint8_t> ToPcm8(std::vector<Signal> channels, int rate, double peak);

}  // namespace resgen
