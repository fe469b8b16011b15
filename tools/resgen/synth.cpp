#include "tools/resgen/synth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace resgen {

double MidiHz(double note) {
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

double EnvelopeAt(const Envelope& env, double t, double gate) {
    auto held = [&env](double u) {
        if (u < env.attack) return u / env.attack;
        if (env.decay <= 0) return 1.0;
        return env.sustain + (1 - env.sustain) * std::exp(-(u - env.attack) / env.decay);
    };
    if (t < 0) return 0;
    if (t < gate) return held(t);
    const double fall = 1 - (t - gate) / env.release;
    return fall > 0 ? held(gate) * fall * fall : 0;
}

void AddTone(Signal& out, int rate, const Tone& tone) {
    const double twoPi = 2 * std::numbers::pi;
    const double nyquistGuard = 0.42 * rate;
    const int first = static_cast<int>(std::lround(tone.start * rate));
    const int length = static_cast<int>(std::ceil((tone.gate + tone.env.release) * rate));
    double phase = 0;  // in cycles
    for (int i = 0; i < length && first + i < static_cast<int>(out.size()); ++i) {
        const double t = static_cast<double>(i) / rate;
        double hz = tone.hz * std::exp(tone.glide * t) + tone.glideFloor;
        hz *= 1 + tone.vibratoDepth * std::sin(twoPi * tone.vibratoHz * t);
        double sample = 0;
        for (std::size_t k = 1; k <= tone.partials.size(); ++k) {
            const double fk = hz * static_cast<double>(k);
            const double keep = std::clamp((nyquistGuard - fk) / (0.06 * rate), 0.0, 1.0);
            sample += keep * tone.partials[k - 1] * std::sin(twoPi * phase * k);
        }
        if (first + i >= 0)
            out[first + i] += tone.amp * EnvelopeAt(tone.env, t, tone.gate) * sample;
        phase += hz / rate;
        phase -= std::floor(phase);
    }
}

std::vector<double> SoftSquare() {
    return {1, 0.12, 0.3, 0.05, 0.12, 0, 0.05};
}

std::vector<double> Brass() {
    std::vector<double> p;
    for (int k = 1; k <= 12; ++k) p.push_back(std::exp(-0.22 * (k - 1)) / std::sqrt(k));
    return p;
}

std::vector<double> Bell() {
    return {1, 0.45, 0.12, 0.08};
}

Signal Noise(int frames, Lcg& rng) {
    Signal s(frames);
    for (double& v : s) v = rng.Signed();
    return s;
}

void LowPass(Signal& s, int rate, double (*cutoffAt)(double t)) {
    double y = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / rate;
        const double a = 1 - std::exp(-2 * std::numbers::pi * cutoffAt(t) / rate);
        y += a * (s[i] - y);
        s[i] = y;
    }
}

std::vector<std::uint8_t> ToPcm8(std::vector<Signal> channels, int rate, double peak) {
    double loudest = 1e-9;
    for (const Signal& c : channels) {
        for (double v : c) loudest = std::max(loudest, std::abs(v));
    }
    const int frames = static_cast<int>(channels.front().size());
    const int fade = rate * 6 / 1000;
    std::vector<std::uint8_t> pcm;
    pcm.reserve(static_cast<std::size_t>(frames) * channels.size());
    for (int i = 0; i < frames; ++i) {
        const int edge = std::min(i, frames - 1 - i);
        const double gain = peak / loudest * std::min(1.0, static_cast<double>(edge) / fade);
        for (const Signal& c : channels) {
            const long v = 128 + std::lround(127 * gain * c[i]);
            pcm.push_back(static_cast<std::uint8_t>(std::clamp(v, 1L, 255L)));
        }
    }
    return pcm;
}

}  // namespace resgen
