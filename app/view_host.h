#pragma once
// The widget that holds the game view and gives it a window: timer, paints, a surface
// drawing straight onto the screen, message boxes, the file-name prompt and the clock.
//
// The window's picture lives in the "front" image. The game's paint runs here, outside
// Qt's paintEvent, and composes onto that image; paintEvent only copies it to the screen.
// That way a surface drawn on while the game holds the thread (the stage-clear text) can
// be shown at once with a synchronous repaint. Once the view has its back buffer, the
// front image is that buffer's pixels over the client area, so a frame is not copied twice.
// Where the window's store allows, a frame is composed in the store itself and Qt only
// shows it; the back buffer's own pixels then wait until something needs them.

#include <QBasicTimer>
#include <QImage>
#include <QMessageBox>
#include <QPoint>
#include <QRect>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "app/window_store.h"
#include "platform/window_services.h"

class CFizmoView;
class CoverWatch;

class FizmoViewHost : public QWidget, public WindowServices {
    Q_OBJECT

public:
    explicit FizmoViewHost(QWidget* parent = nullptr);
    ~FizmoViewHost() override;

    CFizmoView& View() { return *view_; }
    // The view's first-update notification; the first one comes when the host is first shown.
    void InitialUpdate();
    int InitialUpdates() const { return initialUpdates_; }
    // Whether the game's timer `id` runs.
    bool TimerRunning(unsigned id) const;

    using MessageBoxHandler =
        std::function<int(const QString& text, const QString& caption, QMessageBox::Icon icon)>;
    // Replaces the modal message box, for tests.
    void SetMessageBoxHandler(MessageBoxHandler handler) { messageBox_ = std::move(handler); }
    // A box of the program's own, every character kept; play goes on behind it.
    int ShowMessageBox(const QString& text, const QString& caption, QMessageBox::Icon icon);
    // Message boxes close by themselves after this long; 0 leaves them to the player.
    void SetMessageBoxTimeout(int milliseconds) { messageBoxTimeoutMs_ = milliseconds; }

    // WindowServices
    void SetTimer(unsigned id, unsigned milliseconds) override;
    void KillTimer(unsigned id) override;
    void InvalidateRect(const RECT& rect, bool erase) override;
    RECT GetClientRect() override;
    Surface* BeginPaint() override;
    void EndPaint(Surface* paint) override;
    Surface* GetDC() override;
    void ReleaseDC(Surface* surface) override;
    int MessageBox(const std::string& textSjis, const std::string& captionSjis,
                   unsigned type) override;
    int AskFileName(std::string* fileName) override;
    std::time_t CalendarTime() override;
    std::int64_t MonotonicMilliseconds() override;
    void SleepBriefly(std::int64_t atMostMs) override;

signals:
    // The player moved the mouse, clicked or pressed a key over the game.
    void playerInput();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void SchedulePaint();
    void RunGamePaint();
    void ResizeFrontImage(const QSize& size);
    void ShowBackBuffer();
    // A game paint composes in the window's store where it can: back buffer and front image
    // are the store's pixels until LeaveStore, which keeps the picture there or brings it back.
    bool ComposeInStore();
    void LeaveStore(bool bringingPictureBack);
    // The store's area, while it still holds the last picture composed there.
    std::optional<StoreArea> StoreHoldingPicture();
    // The back buffer's own pixels made the picture again, before anything draws on them.
    void TakePictureFromStore();
    void WatchExposure();
    // Minimized, covered, or seen again: the sound's blocks follow, a held paint runs.
    void SightChanged();
    void ResumeHeldPaint();
    bool OutOfSight() const;
    void NoteMouseMoveFromPlayer(const QMouseEvent& event);
    void TraceFirstFrameOnScreen();

    std::unique_ptr<CFizmoView> view_;
    QImage front_;
    bool inStore_ = false;
    QImage ownBack_;  // the back buffer's and front image's own pixels, while in the store
    QImage ownFront_;
    std::optional<StoreArea> pictureInStore_;
    std::optional<Surface> paintSurface_;
    std::vector<std::unique_ptr<Surface>> windowSurfaces_;
    QRect invalid_;
    QRect painting_;
    bool eraseInvalid_ = false;
    bool paintPosted_ = false;
    bool inGamePaint_ = false;
    bool paintBegun_ = false;
    bool initialUpdateDone_ = false;
    int initialUpdates_ = 0;
    bool watchingExposure_ = false;
    CoverWatch* cover_ = nullptr;
    bool outOfSight_ = false;
    bool frameComposed_ = false;
    bool traceFirstFrame_ = false;  // FIZMO_TRACE_FIRST_FRAME=1, for the start-up benchmark
    bool hasPlayerPointer_ = false;
    QPoint playerPointer_;
    std::map<unsigned, QBasicTimer> timers_;
    MessageBoxHandler messageBox_;
    int messageBoxTimeoutMs_ = 0;
};
