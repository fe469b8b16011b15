#pragma once
// Synthesis ahead of time: a thread of its own runs Open JTalk on the texts the program will
// want next, and keeps their waves so that a question is read the moment it appears. What
// it keeps is bounded, whatever the length of the problem file.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "speech/open_jtalk.h"
#include "speech/speech_cache.h"

class SpeechQueue {
public:
    // From the queue's thread: a text's wave is ready, or given up on; or a line to tell the user,
    // once when the voice turns out unusable (`broken`), once per kind of trouble otherwise.
    using Ready = std::function<void(const std::string& text)>;
    using Trouble = std::function<void(const std::string& line, bool broken)>;

    static constexpr int kTimeoutMs = 15000;
    static constexpr std::size_t kKeptBytes = 32u << 20;

    // Waves made are kept in `cacheFolder` too, and looked for there first; none when empty.
    SpeechQueue(SpeechSetup setup, Ready ready, Trouble trouble, int timeoutMs = kTimeoutMs,
                std::string cacheFolder = {});
    ~SpeechQueue();
    SpeechQueue(const SpeechQueue&) = delete;
    SpeechQueue& operator=(const SpeechQueue&) = delete;

    // The texts to have ready, the most wanted first; waves of others may be dropped.
    void Want(std::vector<std::string> texts);
    // The wave of `text` if it is ready; null otherwise.
    std::shared_ptr<const SpeechWave> Find(const std::string& text);
    // Whether `text` was tried and could not be read.
    bool GivenUp(const std::string& text);
    // The bytes of samples kept, for tests and benchmarks.
    std::size_t KeptBytes();

private:
    struct Kept {
        std::string text;
        std::shared_ptr<const SpeechWave> wave;  // null: it could not be read
    };

    void Run();
    // The first wanted text that is neither kept nor given up on; with mutex_ held.
    bool NextToMake(std::string* text);
    void Keep(const std::string& text, std::shared_ptr<const SpeechWave> wave);
    void Make(const std::string& text);
    void Handle(const std::string& text, SynthResult result);

    OpenJTalk jtalk_;
    SpeechCache cache_;
    const Ready ready_;
    const Trouble trouble_;
    const int timeoutMs_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<std::string> wanted_;
    std::list<Kept> kept_;  // the most recently made or found at the front
    std::size_t keptBytes_ = 0;
    bool anyMade_ = false;
    bool broken_ = false;
    bool toldTimeout_ = false;
    bool toldUnread_ = false;
    bool toldUncached_ = false;
    std::atomic<bool> stopping_{false};
    std::thread thread_;  // last: it starts once everything above is there
};
