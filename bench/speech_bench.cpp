// よみあげ's figures, with a voice: how long Open JTalk takes to make each word problem of the
// given sets and its first sentence alone, which a first-ever launch waits for (the median and
// the slowest); what it reads each as (--readings); how long from a problem appearing to its
// first audible sample when it was made ahead, through the game's own mixer; and how long a
// problem takes to read back from the speech cache.
// Usage: fizmo_speech_bench VOICE PROBLEM_FILE... [--readings]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/speech_player.h"
#include "game/problem_encoding.h"
#include "game/problem_reader.h"
#include "platform/files.h"
#include "platform/sjis.h"
#include "sound/wave_sound.h"
#include "speech/open_jtalk.h"
#include "speech/problem_reading.h"
#include "speech/speech_cache.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kTimeoutMs = 60000;
constexpr std::uint32_t kOutputRate = 22050;
constexpr int kAudible = 64;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::vector<std::string> Problems(const char* file) {
    std::vector<std::string> texts;
    std::FILE* stream = OpenFileForReading(file);
    if (!stream) return texts;
    const TextEncoding encoding = DetectProblemEncoding(stream);
    problem_reader::ProblemLines lines = {};
    int answer = 0;
    while (problem_reader::ReadProblem(stream, lines, &answer)) {
        const std::string text = problem_reader::JoinedLines(lines);
        texts.push_back(SpeakableProblem(
            encoding == TextEncoding::ShiftJis ? DecodeShiftJis(text).toStdString() : text));
    }
    std::fclose(stream);
    return texts;
}

// From Play to the first audible sample the mixer renders, in ms of wall time and sound.
double ToFirstSample(const SpeechWave& wave) {
    SpeechPlayer player;
    const Clock::time_point start = Clock::now();
    player.Play(wave);
    std::vector<std::int16_t> out(2 * SoundMixer::kChunkFrames);
    for (int chunk = 0; chunk < 100; ++chunk) {
        g_pDirectSound->Mixer().Render(out.data(), SoundMixer::kChunkFrames);
        for (int i = 0; i < SoundMixer::kChunkFrames; ++i)
            if (std::abs(out[2 * i]) > kAudible)
                return MsSince(start) +
                       1000.0 * (chunk * SoundMixer::kChunkFrames + i) / kOutputRate;
    }
    return -1;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: fizmo_speech_bench VOICE PROBLEM_FILE... [--readings]\n");
        return 2;
    }
    const bool readings = std::strcmp(argv[argc - 1], "--readings") == 0;
    const SpeechSetup setup = FindSpeechSetup(argv[1], {});
    if (!setup.Ready()) {
        std::printf("SKIP: %s\n", MissingText(setup).c_str());
        return 0;
    }
    OpenJTalk jtalk(setup);
    std::string cacheFolder =
        (std::filesystem::temp_directory_path() / "fizmo-bench-XXXXXX").string();
    if (!mkdtemp(cacheFolder.data())) return 1;
    SpeechCache cache(cacheFolder, setup);
    g_pDirectSound = CreateSoundDeviceWithoutOutput(kOutputRate);
    std::vector<double> synthesis, firstSentence, firstSample, fromCache;
    double slowest = 0;
    std::string slowestText;
    for (int f = 2; f < argc - (readings ? 1 : 0); ++f) {
        for (const std::string& text : Problems(argv[f])) {
            const Clock::time_point start = Clock::now();
            const SynthResult result = jtalk.Synthesize(text, kTimeoutMs, nullptr, readings);
            const double ms = MsSince(start);
            if (result.outcome != SynthOutcome::kDone) {
                std::printf("not read: %s\n", text.c_str());
                continue;
            }
            synthesis.push_back(ms);
            if (ms > slowest) slowest = ms, slowestText = text;
            firstSample.push_back(ToFirstSample(result.wave));
            const Clock::time_point sentence = Clock::now();
            if (jtalk.Synthesize(Sentences(text).front(), kTimeoutMs).outcome ==
                SynthOutcome::kDone)
                firstSentence.push_back(MsSince(sentence));
            cache.Keep(text, result.wave);
            const Clock::time_point read = Clock::now();
            if (cache.Find(text)) fromCache.push_back(MsSince(read));
            if (readings) std::printf("%s\n  %s\n", text.c_str(), result.reading.c_str());
        }
    }
    if (synthesis.empty() || firstSentence.empty() || fromCache.empty()) {
        std::fprintf(stderr, "no problem was read: are the problem files there?\n");
        return 1;
    }
    std::printf("%zu problems: synthesis median %.0f ms, slowest %.0f ms (%s)\n", synthesis.size(),
                Median(synthesis), slowest, slowestText.c_str());
    std::printf(
        "made ahead, from appearing to the first audible sample: median %.1f ms, "
        "slowest %.1f ms (plus the output's own buffer)\n",
        Median(firstSample), *std::max_element(firstSample.begin(), firstSample.end()));
    std::printf("read back from the cache: median %.1f ms, slowest %.1f ms\n", Median(fromCache),
                *std::max_element(fromCache.begin(), fromCache.end()));
    std::printf("the first sentence alone: synthesis median %.0f ms, slowest %.0f ms\n",
                Median(firstSentence),
                *std::max_element(firstSentence.begin(), firstSentence.end()));
    std::filesystem::remove_all(cacheFolder);
    g_pDirectSound->Release();
    return 0;
}
