#pragma once
// Window services for tests: records what the view asks of its window, answers dialogs
// from a script, and keeps a clock that only moves when the view sleeps.

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "game/random.h"
#include "platform/window_services.h"

class FakeWindow : public WindowServices {
public:
    explicit FakeWindow(int width = 640, int height = 480) { Resize(width, height); }

    void Resize(int width, int height) {
        width_ = width;
        height_ = height;
        image_ = QImage(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
        image_.fill(Qt::black);
    }

    void SetTimer(unsigned id, unsigned ms) override {
        timerRunning = true;
        timerId = id;
        timerPeriod = ms;
        ++timerStarts;
    }
    void KillTimer(unsigned) override { timerRunning = false; }
    void InvalidateRect(const RECT& rect, bool erase) override {
        invalidations.push_back(rect);
        lastErase = erase;
    }
    RECT GetClientRect() override { return RECT{0, 0, width_, height_}; }

    Surface* BeginPaint() override {
        paint_.AttachWindowImage(&image_);
        return &paint_;
    }
    void EndPaint(Surface*) override { ++paints; }
    Surface* GetDC() override {
        window_.AttachWindowImage(&image_);
        return &window_;
    }
    void ReleaseDC(Surface*) override {
        ++windowSurfaceReleases;
        shownWhileHeld.push_back(image_.copy());
    }

    int MessageBox(const std::string& text, const std::string& caption, unsigned type) override {
        messages.push_back({text, caption, type, nowMs_ / 1000, timerRunning});
        return IDOK;
    }
    int AskFileName(std::string* name) override {
        if (fileNameAnswers.empty()) return IDCANCEL;
        auto answer = fileNameAnswers.front();
        fileNameAnswers.pop_front();
        if (!answer.first) return IDCANCEL;
        *name = answer.second;
        return IDOK;
    }

    // The calendar clock can be set back or forward; the monotonic one only runs.
    std::time_t CalendarTime() override {
        return static_cast<std::time_t>((nowMs_ + calendarShiftMs) / 1000);
    }
    std::int64_t MonotonicMilliseconds() override { return nowMs_; }
    void SleepBriefly(std::int64_t atMostMs) override {
        nowMs_ += std::clamp<std::int64_t>(atMostMs, 1, sleepStepMs);
        if (onSleep) onSleep();
    }
    long long NowMs() const { return nowMs_; }
    void AdvanceMs(long long ms) { nowMs_ += ms; }

    QImage& Image() { return image_; }

    struct Message {
        std::string text, caption;
        unsigned type;
        long long atSecond;
        bool timerWasRunning;
    };

    bool timerRunning = false;
    unsigned timerId = 0, timerPeriod = 0;
    int timerStarts = 0;
    int paints = 0;
    int windowSurfaceReleases = 0;
    bool lastErase = true;
    long long sleepStepMs = 10;
    long long calendarShiftMs = 0;
    std::function<void()> onSleep;
    std::vector<RECT> invalidations;
    std::vector<Message> messages;
    std::vector<QImage> shownWhileHeld;
    std::deque<std::pair<bool, std::string>> fileNameAnswers;  // {OK?, name}

private:
    int width_ = 0, height_ = 0;
    long long nowMs_ = 1'000'000'000LL * 1000 + 250;
    QImage image_;
    Surface paint_;
    Surface window_;
};

// Random numbers from a script; runs out loudly so a test sees an unexpected draw.
class ScriptedRandom : public Random {
public:
    explicit ScriptedRandom(int fallbackValue = -1) : fallback(fallbackValue) {}
    std::deque<int> values;
    int calls = 0;
    int fallback;  // returned when the script is empty; -1 fails the test
    int Rand() override {
        ++calls;
        if (values.empty()) {
            if (fallback < 0) ADD_FAILURE() << "unexpected rand() call " << calls;
            return fallback < 0 ? 0 : fallback;
        }
        int v = values.front();
        values.pop_front();
        return v;
    }
    void Seed(unsigned) override {}
};
