#include "speech/speech_queue.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace {

std::size_t Bytes(const std::shared_ptr<const SpeechWave>& wave) {
    return wave ? wave->samples.size() * sizeof(std::int16_t) : 0;
}

}  // namespace

SpeechQueue::SpeechQueue(SpeechSetup setup, Ready ready, Trouble trouble, int timeoutMs,
                         std::string cacheFolder)
    : jtalk_(setup),
      cache_(std::move(cacheFolder), setup),
      ready_(std::move(ready)),
      trouble_(std::move(trouble)),
      timeoutMs_(timeoutMs),
      thread_([this] { Run(); }) {}

SpeechQueue::~SpeechQueue() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void SpeechQueue::Want(std::vector<std::string> texts) {
    {
        std::lock_guard lock(mutex_);
        wanted_ = std::move(texts);
    }
    wake_.notify_all();
}

std::shared_ptr<const SpeechWave> SpeechQueue::Find(const std::string& text) {
    std::lock_guard lock(mutex_);
    const auto it = std::find_if(kept_.begin(), kept_.end(),
                                 [&](const Kept& kept) { return kept.text == text; });
    if (it == kept_.end()) return nullptr;
    kept_.splice(kept_.begin(), kept_, it);
    return it->wave;
}

bool SpeechQueue::GivenUp(const std::string& text) {
    std::lock_guard lock(mutex_);
    return std::any_of(kept_.begin(), kept_.end(),
                       [&](const Kept& kept) { return kept.text == text && !kept.wave; });
}

std::size_t SpeechQueue::KeptBytes() {
    std::lock_guard lock(mutex_);
    return keptBytes_;
}

bool SpeechQueue::NextToMake(std::string* text) {
    for (const std::string& wanted : wanted_) {
        const bool kept = std::any_of(kept_.begin(), kept_.end(),
                                      [&](const Kept& k) { return k.text == wanted; });
        if (!kept && !wanted.empty()) {
            *text = wanted;
            return true;
        }
    }
    return false;
}

void SpeechQueue::Run() {
    if (!jtalk_.Usable()) {
        trouble_("read-aloud cannot make a private temporary folder", true);
        return;
    }
    for (;;) {
        std::string text;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [&] { return stopping_ || (!broken_ && NextToMake(&text)); });
            if (stopping_) return;
        }
        Make(text);
    }
}

void SpeechQueue::Make(const std::string& text) {
    if (std::optional<SpeechWave> wave = cache_.Find(text)) {
        Keep(text, std::make_shared<const SpeechWave>(std::move(*wave)));
        ready_(text);
        return;
    }
    SynthResult result = jtalk_.Synthesize(text, timeoutMs_, &stopping_);
    if (result.outcome == SynthOutcome::kDone && !cache_.Keep(text, result.wave) &&
        !cache_.Folder().empty() && !std::exchange(toldUncached_, true))
        trouble_("read-aloud cannot keep its readings in " + cache_.Folder() +
                     "; each is made again at every start",
                 false);
    Handle(text, std::move(result));
}

void SpeechQueue::Handle(const std::string& text, SynthResult result) {
    if (result.outcome == SynthOutcome::kCancelled) return;
    if (result.outcome == SynthOutcome::kDone) {
        anyMade_ = true;
        Keep(text, std::make_shared<const SpeechWave>(std::move(result.wave)));
        ready_(text);
        return;
    }
    // Given up on, so that it is not tried again while it is wanted.
    Keep(text, nullptr);
    ready_(text);
    if (result.outcome == SynthOutcome::kTimedOut) {
        if (!std::exchange(toldTimeout_, true))
            trouble_("read-aloud: Open JTalk took too long and was stopped", false);
    } else if (!anyMade_) {
        std::lock_guard lock(mutex_);
        broken_ = true;
        trouble_("read-aloud stops: Open JTalk cannot read with the voice (" +
                     result.error.substr(0, result.error.find('\n')) + ")",
                 true);
    } else if (!std::exchange(toldUnread_, true)) {
        trouble_("read-aloud: Open JTalk could not read a text: " + text, false);
    }
}

void SpeechQueue::Keep(const std::string& text, std::shared_ptr<const SpeechWave> wave) {
    std::lock_guard lock(mutex_);
    keptBytes_ += Bytes(wave);
    kept_.push_front({text, std::move(wave)});
    // The least recently used that is not wanted goes first; a wanted one never does.
    for (auto it = kept_.end(); keptBytes_ > kKeptBytes && it != kept_.begin();) {
        --it;
        if (std::find(wanted_.begin(), wanted_.end(), it->text) != wanted_.end()) continue;
        keptBytes_ -= Bytes(it->wave);
        it = kept_.erase(it);
    }
}
