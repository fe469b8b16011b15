#pragma once
// Just enough of a window for benchmarks that run the view: painting goes to an image of
// its own, timers and message boxes do nothing.

#include <QApplication>

#include "platform/window_services.h"

// Text needs a GUI application; the benchmark runner's own main makes none.
inline void NeedGuiApplication() {
    if (QGuiApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fizmo_bench";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);  // widgets too: the きろく window is timed
}

class BenchWindow final : public WindowServices {
public:
    BenchWindow(int width, int height) : image_(width, height, QImage::Format_RGB32) {
        image_.fill(Qt::black);
    }
    void SetTimer(unsigned, unsigned) override {}
    void KillTimer(unsigned) override {}
    void InvalidateRect(const RECT&, bool) override {}
    RECT GetClientRect() override { return RECT{0, 0, image_.width(), image_.height()}; }
    Surface* BeginPaint() override {
        paint_.AttachWindowImage(&image_);
        return &paint_;
    }
    void EndPaint(Surface*) override {}
    Surface* GetDC() override {
        window_.AttachWindowImage(&image_);
        return &window_;
    }
    void ReleaseDC(Surface*) override {}
    int MessageBox(const std::string&, const std::string&, unsigned) override { return IDOK; }
    int AskFileName(std::string*) override { return IDCANCEL; }
    std::time_t CalendarTime() override { return 0; }
    std::int64_t MonotonicMilliseconds() override { return 0; }
    void SleepBriefly(std::int64_t) override {}

    // As the program's window does: the window's image is the back buffer's own pixels.
    void ShowBackBuffer(Bitmap& back) {
        image_ = QImage(back.Image().bits(), image_.width(), image_.height(),
                        back.Image().bytesPerLine(), QImage::Format_RGB32);
    }

private:
    QImage image_;
    Surface paint_, window_;
};
