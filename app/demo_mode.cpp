#include "app/demo_mode.h"

#include <QTimer>
#include <QTimerEvent>

#include "app/demo_pilot.h"
#include "app/main_frame.h"
#include "app/view_host.h"
#include "game/fizmo_view.h"
#include "game/tile_layout.h"

namespace {

constexpr int kStepMs = 100;
constexpr int kStartDelayMs = 500;
constexpr int kStepsBeforeRestart = 30;  // a few seconds to read the end of a game
constexpr unsigned MK_LBUTTON = 0x1;
constexpr int kMessageBoxMs = 3000;  // long enough to read, so no box stands over the demo

}  // namespace

DemoMode::DemoMode(CMainFrame* frame) : frame_(frame) {
    connect(&frame_->Host(), &FizmoViewHost::playerInput, this, &DemoMode::End);
}

void DemoMode::Begin() {
    steering_ = true;
    frame_->Host().SetMessageBoxTimeout(kMessageBoxMs);
    // Chosen as from the menu, once the window has had its first update.
    QTimer::singleShot(kStartDelayMs, this, [this] {
        if (steering_) frame_->OnCommand(ID_START);
    });
    timer_.start(kStepMs, this);
}

void DemoMode::End() {
    if (!steering_) return;
    steering_ = false;
    timer_.stop();
    frame_->Host().SetMessageBoxTimeout(0);
    frame_->View().ReturnToLaunchState();
}

void DemoMode::timerEvent(QTimerEvent* event) {
    if (event->timerId() == timer_.timerId()) Step();
}

void DemoMode::Step() {
    CFizmoView& view = frame_->View();
    if (DemoGameEnded(view)) {
        if (++stepsSinceGameEnded_ >= kStepsBeforeRestart) {
            stepsSinceGameEnded_ = 0;
            // A missile still on its way when play ended would fly on into the next game.
            ClearShots(view);
            frame_->OnCommand(ID_START);
        }
        return;
    }
    stepsSinceGameEnded_ = 0;
    // Before its Start the game has no question yet: a missile fired would meet the first.
    if (!frame_->Host().TimerRunning(kTimerId)) return;
    const DemoMove move = PlanDemoMove(view);
    view.OnMouseMove(0, move.pointerX, move.pointerY);
    if (move.fire) view.OnLButtonDown(MK_LBUTTON, move.pointerX, move.pointerY);
}
