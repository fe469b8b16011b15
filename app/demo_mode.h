#pragma once
// The attract mode: chooses Start by itself and plays through the view's own mouse
// handlers until the player takes over with a mouse move, a click or a key.

#include <QBasicTimer>
#include <QObject>

class CMainFrame;

class DemoMode : public QObject {
    Q_OBJECT

public:
    explicit DemoMode(CMainFrame* frame);
    void Begin();
    void End();
    bool Steering() const { return steering_; }

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    void Step();

    CMainFrame* frame_;
    QBasicTimer timer_;
    bool steering_ = false;
    int stepsSinceGameEnded_ = 0;
};
