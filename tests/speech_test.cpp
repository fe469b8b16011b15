// よみあげ's service: what Open JTalk is given to read, how its command is found, run, stopped
// and reaped, the cache that keeps what it made, and the queue that makes texts ahead. Stand-in
// commands play the synthesiser that hangs, dies or writes nonsense; the real one runs where
// the test voice is found.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "app/speech_player.h"
#include "game/fizmo_view.h"
#include "sound/wave_sound.h"
#include "sound_test_waves.h"
#include "speech/arithmetic_reading.h"
#include "speech/open_jtalk.h"
#include "speech/problem_reading.h"
#include "speech/speech_cache.h"
#include "speech/speech_queue.h"
#include "temp_folder.h"

namespace fs = std::filesystem;

namespace {

// A folder of its own for each test, with a stand-in open_jtalk and a dictionary.
class SpeechFolder {
public:
    SpeechFolder() {
        fs::create_directories(root_ / "bin");
        fs::create_directories(root_ / "dic");
        std::ofstream(root_ / "dic/sys.dic") << "x";
        std::ofstream(root_ / "voice.htsvoice") << "[GLOBAL]\n";
    }

    // The stand-in's body; "$out" is the wave it is asked for.
    void Command(const std::string& body) {
        const fs::path command = root_ / "bin/open_jtalk";
        std::ofstream(command) << "#!/bin/sh\nwhile [ $# -gt 1 ]; do [ \"$1\" = -ow ] && "
                                  "out=$2; shift; done\n"
                               << body << "\n";
        fs::permissions(command, fs::perms::owner_all);
    }
    // A wave the stand-in copies: `frames` of a loud square wave between silences.
    static constexpr int kSilentFrames = 1000;
    void Wave(int frames) {
        Bytes samples(2 * (frames + 2 * kSilentFrames), 0);
        for (int i = kSilentFrames; i < kSilentFrames + frames; ++i)
            samples[2 * i + 1] = (i / 20) % 2 ? 0x20 : 0xE0;
        const Bytes wave =
            RiffBuilder().Chunk("fmt ", FormatBody(1, 48000, 2)).Chunk("data", samples).Build();
        std::ofstream(root_ / "ok.wav", std::ios::binary)
            .write(reinterpret_cast<const char*>(wave.data()), wave.size());
    }
    SpeechSetup Setup() const {
        SpeechSetup setup;
        setup.command = (root_ / "bin/open_jtalk").string();
        setup.dictionary = (root_ / "dic").string();
        setup.voice = (root_ / "voice.htsvoice").string();
        return setup;
    }
    fs::path Path(const char* name) const { return root_ / name; }

private:
    TempFolder folder_;
    const fs::path& root_ = folder_.Path();
};

// Killed: gone, or left to a parent that is not this program (the stand-in's own child, handed
// to init, which may reap it late).
bool KilledSoon(pid_t pid, bool ours) {
    for (int i = 0; i < 200; ++i) {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string name, state;
        pid_t parent = 0;
        if (!(stat >> pid >> name >> state >> parent)) return true;
        if (state == "Z" && !ours && parent != getpid()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

pid_t PidIn(const fs::path& file) {
    pid_t pid = 0;
    std::ifstream(file) >> pid;
    return pid;
}

// The shared test voice beside the checkout, or where FIZMO_TEST_VOICE says.
std::string TestVoice() {
    const char* named = std::getenv("FIZMO_TEST_VOICE");
    const fs::path voice =
        named && *named ? fs::path(named)
                        : fs::path(FIZMO_SOURCE_DIR) / "../shared/voices/mei_normal.htsvoice";
    return fs::is_regular_file(voice) ? voice.string() : std::string();
}

}  // namespace

TEST(SpeechText, ArithmeticIsReadAsInADrillWithNumbersInKatakana) {
    EXPECT_EQ(ArithmeticReading(KindOf(kQuizTimesTable)->sign, 7, 8), "ナナ かける ハチ は");
    EXPECT_EQ(ArithmeticReading(KindOf(kQuizAddition)->sign, 0, 9), "ゼロ たす キュウ は");
    EXPECT_EQ(ArithmeticReading(KindOf(kQuizSubtraction)->sign, 13, 5), "ジュウサン ひく ゴ は");
    EXPECT_EQ(ArithmeticReading(KindOf(kQuizDivision)->sign, 56, 7), "ゴジュウロク わる ナナ は");
    EXPECT_EQ(SpokenNumber(4), "ヨン");
    EXPECT_EQ(SpokenNumber(10), "ジュウ");
    EXPECT_EQ(SpokenNumber(14), "ジュウヨン");
    EXPECT_EQ(SpokenNumber(81), "ハチジュウイチ");
    EXPECT_EQ(SpokenNumber(100), "100");
}

TEST(SpeechText, AProblemIsReadSentenceBySentenceWithUnitsAfterANumberSpelledOut) {
    EXPECT_EQ(UnitsSpelledOut("６ｃｍ３ｍｍ、"), "６センチメートル３ミリメートル、");
    EXPECT_EQ(UnitsSpelledOut("１ｋｍ２００ｍ"), "１キロメートル２００メートル");
    EXPECT_EQ(UnitsSpelledOut("何ｇですか"), "何グラムですか");
    EXPECT_EQ(UnitsSpelledOut("2kg 300g"), "2キログラム 300グラム");
    EXPECT_EQ(UnitsSpelledOut("ｍのリボン mom"), "ｍのリボン mom");
    EXPECT_EQ(SpeakableProblem("あ\tい\x7f"), "あ い ");
    EXPECT_EQ(Sentences("　みかんが ３こ。　なんこ？ ぜんぶで!い。 "),
              (std::vector<std::string>{"みかんが ３こ。", "なんこ？", "ぜんぶで!", "い。"}));
    EXPECT_EQ(Sentences("おわりがない"), std::vector<std::string>{"おわりがない"});
    EXPECT_TRUE(Sentences("　 ").empty());
}

TEST(SpeechSetupTest, SaysWhatIsMissingFirstAndFindsAVoiceInASubfolder) {
    SpeechFolder folder;
    folder.Command("exit 0");
    ScopedEnv path("PATH", folder.Path("nothing").string());
    ScopedEnv dictionary("FIZMO_JTALK_DICTIONARY", folder.Path("dic").string());
    EXPECT_EQ(FindSpeechSetup("", {}).missing, SpeechMissing::kCommand);
    EXPECT_NE(MissingText(FindSpeechSetup("", {})).find("open-jtalk"), std::string::npos);
    ScopedEnv path2("PATH", "/nowhere:" + folder.Path("bin").string());
    {
        ScopedEnv noDictionary("FIZMO_JTALK_DICTIONARY", folder.Path("nothing").string());
        EXPECT_EQ(FindSpeechSetup("", {}).missing, SpeechMissing::kDictionary);
    }
    EXPECT_EQ(FindSpeechSetup("", {folder.Path("dic").string()}).missing, SpeechMissing::kVoice);
    fs::create_directories(folder.Path("voices/nitech"));
    std::ofstream(folder.Path("voices/nitech/b.htsvoice")) << "[GLOBAL]\n";
    std::ofstream(folder.Path("voices/nitech/LICENSE_b.htsvoice"))
        << "# HTS Voice \"B\" #\n#  Copyright (c) 2013  Someone  #\n# Some licence. #\n# more #\n";
    const SpeechSetup found = FindSpeechSetup("", {folder.Path("voices").string()});
    EXPECT_TRUE(found.Ready());
    EXPECT_EQ(found.voice, folder.Path("voices/nitech/b.htsvoice").string());
    EXPECT_EQ(VoiceAttribution(found.voice),
              "HTS Voice \"B\"\nCopyright (c) 2013  Someone\nSome licence.\n");
    // A named voice comes first; one that is not a voice at all says so.
    std::ofstream(folder.Path("damaged.htsvoice")) << "\x89PNG";
    EXPECT_EQ(FindSpeechSetup(folder.Path("damaged.htsvoice"), {folder.Path("voices")}).missing,
              SpeechMissing::kDamagedVoice);
}

TEST(OpenJTalkRun, AHangingCommandIsStoppedWithWhatItStartedAndReaped) {
    SpeechFolder folder;
    folder.Command("echo $$ >" + folder.Path("pid").string() + "; sleep 30 & echo $! >" +
                   folder.Path("child").string() + "; wait");
    OpenJTalk jtalk(folder.Setup());
    const auto start = std::chrono::steady_clock::now();
    const SynthResult result = jtalk.Synthesize("あ", 300);
    EXPECT_EQ(result.outcome, SynthOutcome::kTimedOut);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    // Reaped: a zombie would still answer.
    EXPECT_TRUE(KilledSoon(PidIn(folder.Path("pid")), true));
    EXPECT_TRUE(KilledSoon(PidIn(folder.Path("child")), false));

    std::atomic<bool> cancel{true};
    EXPECT_EQ(jtalk.Synthesize("あ", 10000, &cancel).outcome, SynthOutcome::kCancelled);
}

TEST(OpenJTalkRun, ACommandThatDiesOrWritesNonsenseFailsAndSaysWhy) {
    SpeechFolder folder;
    OpenJTalk jtalk(folder.Setup());
    folder.Command("echo 'cannot load voice' >&2; kill -9 $$");
    SynthResult result = jtalk.Synthesize("あ", 5000);
    EXPECT_EQ(result.outcome, SynthOutcome::kFailed);
    EXPECT_EQ(result.error, "cannot load voice\n");
    folder.Command("echo nonsense >\"$out\"");
    EXPECT_EQ(jtalk.Synthesize("あ", 5000).outcome, SynthOutcome::kFailed);
    folder.Wave(4800);
    folder.Command("cp " + folder.Path("ok.wav").string() + " \"$out\"");
    result = jtalk.Synthesize("あ", 5000);
    ASSERT_EQ(result.outcome, SynthOutcome::kDone);
    EXPECT_EQ(result.wave.rate, 48000u);
    // The silences around it are trimmed to a hundredth of a second.
    EXPECT_EQ(result.wave.samples.size(), 4800u + 2 * 480u);
}

TEST(SpeechCacheTest, KeepsWavesAndTakesADamagedOrForeignFileForMissing) {
    SpeechFolder folder;
    const fs::path where = folder.Path("cache/Fizmo/speech");
    SpeechCache cache(where.string(), folder.Setup());
    const SpeechWave wave{std::vector<std::int16_t>(4000, -1234), 48000};
    ASSERT_TRUE(cache.Keep("いち", wave));
    const fs::path file = fs::directory_iterator(where)->path();
    const auto found = cache.Find("いち");
    ASSERT_TRUE(found);
    EXPECT_TRUE(found->cached);
    EXPECT_EQ(found->samples, wave.samples);
    EXPECT_EQ(found->rate, wave.rate);
    EXPECT_FALSE(cache.Find("に"));
    // Another voice file under the same name never answers.
    std::ofstream(folder.Path("voice.htsvoice")) << "[GLOBAL]\nanother\n";
    EXPECT_FALSE(SpeechCache(where.string(), folder.Setup()).Find("いち"));
    // Cut short, or one sample changed: made again.
    fs::resize_file(file, fs::file_size(file) - 1);
    EXPECT_FALSE(cache.Find("いち"));
    ASSERT_TRUE(cache.Keep("いち", wave));
    std::fstream(file, std::ios::in | std::ios::out | std::ios::binary)
        .seekp(-100, std::ios::end)
        .put('\x55');
    EXPECT_FALSE(cache.Find("いち"));
    // A folder that cannot be made keeps nothing.
    std::ofstream(folder.Path("file")) << "x";
    EXPECT_FALSE(SpeechCache(folder.Path("file/speech").string(), folder.Setup()).Keep("に", wave));
}

TEST(SpeechCacheTest, TheOldestGoPastTheBoundAndAbandonedPartsAreRemoved) {
    SpeechFolder folder;
    const fs::path where = folder.Path("cache");
    const SpeechWave wave{std::vector<std::int16_t>(50000, 7), 48000};  // 100 kB
    SpeechCache cache(where.string(), folder.Setup(), 250000);
    // Files just written are put `minutes` back.
    const auto age = [&](int minutes) {
        const auto now = fs::file_time_type::clock::now();
        for (const auto& entry : fs::directory_iterator(where))
            if (fs::last_write_time(entry) > now - std::chrono::seconds(5))
                fs::last_write_time(entry, now - std::chrono::minutes(minutes));
    };
    ASSERT_TRUE(cache.Keep("いち", wave));
    age(30);
    ASSERT_TRUE(cache.Keep("に", wave));
    age(20);
    std::ofstream(where / ".part-abc") << "half a wave";
    age(15);
    ASSERT_TRUE(cache.Find("いち"));  // used now: no longer the oldest
    ASSERT_TRUE(cache.Keep("さん", wave));
    EXPECT_TRUE(cache.Find("いち"));
    EXPECT_FALSE(cache.Find("に"));
    EXPECT_TRUE(cache.Find("さん"));
    EXPECT_FALSE(fs::exists(where / ".part-abc"));
}

namespace {

// The queue's calls, as the program's thread would get them.
struct QueueEvents {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::string> ready;
    std::vector<std::pair<std::string, bool>> trouble;

    SpeechQueue::Ready OnReady() {
        return [this](const std::string& text) {
            std::lock_guard lock(mutex);
            ready.push_back(text);
            changed.notify_all();
        };
    }
    SpeechQueue::Trouble OnTrouble() {
        return [this](const std::string& line, bool broken) {
            std::lock_guard lock(mutex);
            trouble.emplace_back(line, broken);
            changed.notify_all();
        };
    }
    bool WaitFor(std::size_t readyCount, std::size_t troubleCount = 0) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(20), [&] {
            return ready.size() >= readyCount && trouble.size() >= troubleCount;
        });
    }
};

}  // namespace

TEST(SpeechQueueTest, MakesWhatIsWantedInOrderAndKeepsABoundedAmount) {
    SpeechFolder folder;
    constexpr int kFrames = 1 << 19;  // a megabyte each
    folder.Wave(kFrames);
    folder.Command("cp " + folder.Path("ok.wav").string() + " \"$out\"");
    QueueEvents events;
    SpeechQueue queue(folder.Setup(), events.OnReady(), events.OnTrouble());
    queue.Want({"いち", "に"});
    ASSERT_TRUE(events.WaitFor(2));
    EXPECT_EQ(events.ready, (std::vector<std::string>{"いち", "に"}));
    ASSERT_NE(queue.Find("いち"), nullptr);
    EXPECT_EQ(queue.Find("さん"), nullptr);
    // A long file read one problem after another, two ahead.
    const std::size_t perWave = queue.Find("に")->samples.size() * 2;
    for (int i = 0; i < 40; ++i) {
        queue.Want({std::to_string(i), std::to_string(i + 1), std::to_string(i + 2)});
        ASSERT_TRUE(events.WaitFor(static_cast<std::size_t>(i) + 5)) << i;
        ASSERT_LE(queue.KeptBytes(), SpeechQueue::kKeptBytes + perWave);
    }
    EXPECT_NE(queue.Find("41"), nullptr);
    EXPECT_TRUE(events.trouble.empty());
}

TEST(SpeechQueueTest, AVoiceThatNeverWorksStopsItOnceAHangIsToldAndPassedOver) {
    SpeechFolder folder;
    folder.Command("echo 'HTS_Engine_load: cannot load' >&2; exit 1");
    {
        QueueEvents events;
        SpeechQueue queue(folder.Setup(), events.OnReady(), events.OnTrouble());
        queue.Want({"いち", "に"});
        ASSERT_TRUE(events.WaitFor(0, 1));
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        std::lock_guard lock(events.mutex);
        ASSERT_EQ(events.trouble.size(), 1u);
        EXPECT_TRUE(events.trouble[0].second);
        EXPECT_NE(events.trouble[0].first.find("cannot load"), std::string::npos);
    }
    folder.Wave(100);
    folder.Command("[ \"$(cat \"$(dirname \"$out\")/text.txt\")\" = hang ] && sleep 30; cp " +
                   folder.Path("ok.wav").string() + " \"$out\"");
    QueueEvents events;
    SpeechQueue queue(folder.Setup(), events.OnReady(), events.OnTrouble(), 300);
    queue.Want({"hang", "に"});
    ASSERT_TRUE(events.WaitFor(2, 1));
    EXPECT_EQ(events.ready, (std::vector<std::string>{"hang", "に"}));
    EXPECT_TRUE(queue.GivenUp("hang"));
    EXPECT_FALSE(queue.GivenUp("に"));
    EXPECT_NE(queue.Find("に"), nullptr);
    EXPECT_FALSE(events.trouble[0].second);
}

// The real synthesiser with the test voice: a drill question and a problem with characters
// no dictionary knows are both read; what it read the question as is what a teacher says.
TEST(OpenJTalkReal, ReadsAQuestionAndAStrangeProblemWithTheTestVoice) {
    SpeechSetup setup = FindSpeechSetup(TestVoice(), {});
    if (TestVoice().empty() || !setup.Ready())
        GTEST_SKIP() << "no test voice or Open JTalk here: read-aloud not tested";
    OpenJTalk jtalk(setup);
    const SynthResult question =
        jtalk.Synthesize(ArithmeticReading("×", 7, 8), 20000, nullptr, true);
    ASSERT_EQ(question.outcome, SynthOutcome::kDone) << question.error;
    EXPECT_EQ(question.reading, "ナナ、カケル、ハチ、ワ");
    EXPECT_GT(question.wave.samples.size(), question.wave.rate / 2);
    const SynthResult strange =
        jtalk.Synthesize(SpeakableProblem("🍎が\x01３こ　𠮷\uE000ｍ #$%&"), 20000, nullptr, true);
    EXPECT_NE(strange.outcome, SynthOutcome::kTimedOut);
}

// A reading played through the program's device: heard over the music, which stays lowered
// over the pause after it and comes back once that is over.
TEST(SpeechPlayerTest, PlaysOverTheMusicWhichComesBackAfterThePause) {
    OfflineDevice out(22050);
    SoundDevice* kept = g_pDirectSound;
    g_pDirectSound = out.device;
    SoundBuffer* music = MakeBuffer(out.device, Bytes(4410, 0x10), 1, 22050, 2);
    music->Play(0, 0, DSBPLAY_LOOPING);
    const std::int16_t full = out.Render(1)[0];
    {
        SpeechPlayer player;
        SpeechWave wave{std::vector<std::int16_t>(24000, 1000), 48000};  // half a second
        player.Play(wave, 500);
        const auto during = out.Render(22050 / 4);
        EXPECT_EQ(during.back(), full * 3 / 10 + 1000);
        const auto pause = out.Render(22050 / 2);
        EXPECT_TRUE(player.Playing());
        EXPECT_EQ(pause.back(), full * 3 / 10);
        const auto after = out.Render(22050);
        EXPECT_FALSE(player.Playing());
        EXPECT_EQ(after.back(), full);
    }
    music->Release();
    g_pDirectSound = kept;
}
