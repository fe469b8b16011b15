#include "app/view_host.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>
#include <utility>

#include "app/cover_watch.h"
#include "app/file_name_dialog.h"
#include "app/key_codes.h"
#include "game/fizmo_view.h"
#include "platform/sdl_sound_output.h"
#include "platform/sjis.h"

namespace {

const QEvent::Type kGamePaintEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

constexpr unsigned MK_LBUTTON = 0x1;
constexpr unsigned MK_RBUTTON = 0x2;
constexpr unsigned MK_SHIFT = 0x4;
constexpr unsigned MK_CONTROL = 0x8;
constexpr unsigned MK_MBUTTON = 0x10;
constexpr unsigned MB_ICONMASK = 0xF0;

QRect ToQRect(const RECT& r) {
    return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

unsigned MouseFlags(const QMouseEvent& event) {
    unsigned flags = 0;
    if (event.buttons() & Qt::LeftButton) flags |= MK_LBUTTON;
    if (event.buttons() & Qt::RightButton) flags |= MK_RBUTTON;
    if (event.buttons() & Qt::MiddleButton) flags |= MK_MBUTTON;
    if (event.modifiers() & Qt::ShiftModifier) flags |= MK_SHIFT;
    if (event.modifiers() & Qt::ControlModifier) flags |= MK_CONTROL;
    return flags;
}

QMessageBox::Icon IconOf(unsigned type) {
    switch (type & MB_ICONMASK) {
        case 0x10:
            return QMessageBox::Critical;
        case 0x20:
            return QMessageBox::Question;
        case 0x30:
            return QMessageBox::Warning;
        case 0x40:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

QColor WindowColour() {
    return ColorOf(GetSysColor(COLOR_WINDOW));
}

}  // namespace

FizmoViewHost::FizmoViewHost(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);  // the ship follows the pointer without a button held
    setFocusPolicy(Qt::StrongFocus);
    traceFirstFrame_ = qEnvironmentVariableIntValue("FIZMO_TRACE_FIRST_FRAME") == 1;
    ResizeFrontImage(QSize(1, 1));
    view_ = std::make_unique<CFizmoView>(this);
}

FizmoViewHost::~FizmoViewHost() {
    view_.reset();  // the view may still speak to its window while it goes
}

void FizmoViewHost::InitialUpdate() {
    initialUpdateDone_ = true;
    ++initialUpdates_;
    view_->OnInitialUpdate();
    ShowBackBuffer();  // made at the first update
}

bool FizmoViewHost::TimerRunning(unsigned id) const {
    const auto it = timers_.find(id);
    return it != timers_.end() && it->second.isActive();
}

// ---- timer: one QBasicTimer per id; a late tick is delivered once, never in a burst

void FizmoViewHost::SetTimer(unsigned id, unsigned milliseconds) {
    timers_[id].start(static_cast<int>(milliseconds), this);
}

void FizmoViewHost::KillTimer(unsigned id) {
    if (auto it = timers_.find(id); it != timers_.end()) it->second.stop();
}

void FizmoViewHost::timerEvent(QTimerEvent* event) {
    for (const auto& [id, timer] : timers_) {
        if (timer.timerId() == event->timerId()) {
            view_->OnTimer(id);
            return;
        }
    }
    QWidget::timerEvent(event);
}

// ---- paints: the game composes onto the front image; paintEvent only shows it

void FizmoViewHost::InvalidateRect(const RECT& rect, bool erase) {
    const QRect area = ToQRect(rect).intersected(front_.rect());
    if (area.isEmpty()) return;
    invalid_ = invalid_.united(area);
    eraseInvalid_ = eraseInvalid_ || erase;
    if (!OutOfSight()) SchedulePaint();  // else held until the window is seen again
}

RECT FizmoViewHost::GetClientRect() {
    return RECT{0, 0, width(), height()};
}

void FizmoViewHost::SchedulePaint() {
    if (paintPosted_) return;
    paintPosted_ = true;
    // Low priority: like a paint message, it comes after the input already waiting.
    QCoreApplication::postEvent(this, new QEvent(kGamePaintEvent), Qt::LowEventPriority);
}

void FizmoViewHost::RunGamePaint() {
    paintPosted_ = false;
    // A minimized or wholly covered window composes nothing, so nothing is judged out of
    // sight; the paint waits until the window is seen again.
    if (OutOfSight()) return;
    if (!initialUpdateDone_ || inGamePaint_ || invalid_.isEmpty()) return;
    inGamePaint_ = true;
    paintBegun_ = false;
    if (!ComposeInStore()) TakePictureFromStore();
    // With no game running a frame would replay the end of play, or judge a missile that
    // stands still: it only draws what stands.
    if (TimerRunning(kTimerId))
        view_->OnPaint();
    else
        view_->OnPaintStill();
    if (inStore_) LeaveStore(false);
    // A paint that never began still validates the window, or it would be asked for forever.
    if (!paintBegun_) invalid_ = QRect();
    inGamePaint_ = false;
    if (!invalid_.isEmpty()) SchedulePaint();
}

Surface* FizmoViewHost::BeginPaint() {
    paintBegun_ = true;
    painting_ = invalid_.intersected(front_.rect());
    invalid_ = QRect();
    if (eraseInvalid_ && !painting_.isEmpty()) {
        QPainter(&front_).fillRect(painting_, WindowColour());
    }
    eraseInvalid_ = false;
    // A fresh surface each time, made in place: colours and fonts start from the defaults.
    paintSurface_.emplace();
    paintSurface_->AttachWindowImage(&front_);
    paintSurface_->IntersectClipRect(painting_.left(), painting_.top(), painting_.right() + 1,
                                     painting_.bottom() + 1);
    return &*paintSurface_;
}

void FizmoViewHost::EndPaint(Surface* paint) {
    paint->DeleteDC();
    frameComposed_ = true;
    if (painting_.isEmpty()) return;
    // In the store the frame only needs showing, at once: the store keeps no later copy.
    if (inStore_)
        repaint(painting_);
    else
        update(painting_);
}

Surface* FizmoViewHost::GetDC() {
    if (!inStore_) TakePictureFromStore();
    windowSurfaces_.push_back(std::make_unique<Surface>());
    windowSurfaces_.back()->AttachWindowImage(&front_);
    return windowSurfaces_.back().get();
}

void FizmoViewHost::ReleaseDC(Surface* surface) {
    // In the middle of a paint the front image holds part of the next frame, not yet for the
    // screen: only what the surface drew goes there.
    const QRegion shown = inGamePaint_ ? QRegion(surface->DrawnArea() & rect()) : QRegion(rect());
    std::erase_if(windowSurfaces_, [surface](const auto& s) { return s.get() == surface; });
    // Shown now, even when the caller goes on to hold the thread.
    if (isVisible() && !front_.isNull()) {
        if (!shown.isEmpty()) repaint(shown);
        // A Wayland client's frame reaches the compositor when Qt flushes the connection, as
        // its event loop is about to wait; a held thread never gets there.
        if (QGuiApplication::platformName().startsWith("wayland"))
            emit QAbstractEventDispatcher::instance()->aboutToBlock();
    }
}

void FizmoViewHost::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const std::optional<StoreArea> held = inStore_ ? std::nullopt : StoreHoldingPicture();
    // The store already shows what was composed in it.
    if (!((inStore_ || held) && PaintsIntoStore(*this, painter))) {
        const QImage picture = held ? ImageOver(*held) : front_;
        for (const QRect& r : event->region()) painter.drawImage(r, picture, r);
    }
    if (traceFirstFrame_ && frameComposed_) TraceFirstFrameOnScreen();
}

void FizmoViewHost::TraceFirstFrameOnScreen() {
    traceFirstFrame_ = false;
    // Queued, so it runs once Qt has flushed this paint to the screen.
    QMetaObject::invokeMethod(
        this,
        [] {
            timespec now{};
            clock_gettime(CLOCK_REALTIME, &now);
            std::printf("first frame on screen at %lld ns\n",
                        static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
            std::fflush(stdout);
        },
        Qt::QueuedConnection);
}

void FizmoViewHost::ResizeFrontImage(const QSize& size) {
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(WindowColour());
    if (!front_.isNull()) QPainter(&image).drawImage(0, 0, front_);
    front_ = std::move(image);
}

// Once the view has its back buffer, the front image is a window onto the back buffer's own
// pixels: the game composes straight into the picture paintEvent shows, and the frame's
// copy to the window finds nothing to do. Qt's own copy to the screen is the only one left.
void FizmoViewHost::ShowBackBuffer() {
    QImage& back = view_->m_pBackBitmap->Image();
    const QSize shown = front_.size();
    if (back.isNull() || back.width() < shown.width() || back.height() < shown.height()) return;
    if (front_.constBits() == back.constBits()) return;
    QImage onBack(back.bits(), shown.width(), shown.height(), back.bytesPerLine(),
                  QImage::Format_RGB32);
    QPainter(&onBack).drawImage(0, 0, front_);  // the picture on the screen stays
    front_ = std::move(onBack);
}

bool FizmoViewHost::ComposeInStore() {
    QImage& back = view_->m_pBackBitmap->Image();
    // Only a front image over the back buffer can become the store with it. The buffer may
    // be larger than the window; the game composes within the window alone.
    if (front_.constBits() != back.constBits()) return false;
    const std::optional<StoreArea> area = StoreAreaOf(*this);
    if (!area || QSize(area->width, area->height) != front_.size()) return false;
    QImage onStore = ImageOver(*area);
    // The game composes only what is invalid; the rest must already be there.
    if (pictureInStore_ != area) QPainter(&onStore).drawImage(0, 0, front_);
    ownBack_ = std::exchange(back, ImageOver(*area));
    ownFront_ = std::exchange(front_, std::move(onStore));
    pictureInStore_ = area;
    inStore_ = true;
    return true;
}

void FizmoViewHost::LeaveStore(bool bringingPictureBack) {
    view_->m_pBackBitmap->Image() = std::move(ownBack_);
    front_ = std::move(ownFront_);
    inStore_ = false;
    if (bringingPictureBack) TakePictureFromStore();
}

std::optional<StoreArea> FizmoViewHost::StoreHoldingPicture() {
    if (pictureInStore_ && StoreAreaOf(*this) == pictureInStore_) return pictureInStore_;
    return std::nullopt;
}

void FizmoViewHost::TakePictureFromStore() {
    if (const std::optional<StoreArea> held = StoreHoldingPicture())
        QPainter(&front_).drawImage(0, 0, ImageOver(*held));
    pictureInStore_.reset();
}

void FizmoViewHost::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    TakePictureFromStore();
    // An image of its own first: the back buffer may move when it grows.
    ResizeFrontImage(size());
    view_->OnSize(0, width(), height());
    ShowBackBuffer();
    InvalidateRect(GetClientRect(), true);  // the view redraws itself whole after a resize
}

void FizmoViewHost::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    WatchExposure();
    if (initialUpdateDone_) return;
    setFocus();
    // After the show, so a message box from the set-up opens over a window that is there.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!initialUpdateDone_) InitialUpdate();
        },
        Qt::QueuedConnection);
}

void FizmoViewHost::WatchExposure() {
    QWindow* handle = window()->windowHandle();
    if (watchingExposure_ || !handle) return;
    handle->installEventFilter(this);
    connect(handle, &QWindow::windowStateChanged, this, &FizmoViewHost::SightChanged);
    cover_ = new CoverWatch(handle, this);
    connect(cover_, &CoverWatch::changed, this, &FizmoViewHost::SightChanged);
    watchingExposure_ = true;
}

bool FizmoViewHost::OutOfSight() const {
    return window()->isMinimized() || (cover_ && cover_->Covered());
}

void FizmoViewHost::SightChanged() {
    if (const bool out = OutOfSight(); out != outOfSight_) {
        outOfSight_ = out;
        SetSoundOutputsOutOfSight(out);
    }
    ResumeHeldPaint();
}

void FizmoViewHost::ResumeHeldPaint() {
    if (!invalid_.isEmpty() && !OutOfSight()) SchedulePaint();
}

bool FizmoViewHost::eventFilter(QObject* watched, QEvent* event) {
    // An uncovered window is shown from the front image: only the game asks for frames,
    // since in the end states every frame replays its sequence. A restore runs the paint
    // held while minimized.
    if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed())
        ResumeHeldPaint();
    return QWidget::eventFilter(watched, event);
}

bool FizmoViewHost::event(QEvent* event) {
    if (event->type() == kGamePaintEvent) {
        RunGamePaint();
        return true;
    }
    return QWidget::event(event);
}

// ---- input

void FizmoViewHost::NoteMouseMoveFromPlayer(const QMouseEvent& event) {
    if (!event.spontaneous()) return;
    const QPoint at = event.position().toPoint();
    // The first report may only say where a still pointer is; a move changes the place.
    if (hasPlayerPointer_ && at != playerPointer_) emit playerInput();
    hasPlayerPointer_ = true;
    playerPointer_ = at;
}

void FizmoViewHost::mouseMoveEvent(QMouseEvent* event) {
    NoteMouseMoveFromPlayer(*event);
    const QPoint at = event->position().toPoint();
    view_->OnMouseMove(MouseFlags(*event), at.x(), at.y());
}

void FizmoViewHost::mousePressEvent(QMouseEvent* event) {
    if (event->spontaneous()) emit playerInput();
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton) view_->OnLButtonDown(MouseFlags(*event), at.x(), at.y());
    if (event->button() == Qt::RightButton)
        view_->OnRButtonDown(MouseFlags(*event), at.x(), at.y());
}

void FizmoViewHost::mouseDoubleClickEvent(QMouseEvent* event) {
    // Not passed on as a press: the second press of a double click fires nothing.
    if (event->spontaneous()) emit playerInput();
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        view_->OnLButtonDblClk(MouseFlags(*event), at.x(), at.y());
}

void FizmoViewHost::keyPressEvent(QKeyEvent* event) {
    if (event->spontaneous()) emit playerInput();
    if (const unsigned key = VirtualKeyOf(event->key(), event->modifiers()))
        view_->OnKeyDown(key, 1, 0);
    for (const unsigned ch : CharactersOf(event->text(), event->modifiers()))
        view_->OnChar(ch, 1, 0);
}

bool FizmoViewHost::focusNextPrevChild(bool) {
    return false;  // Tab is the game's key like any other
}

// ---- dialogs and clock

int FizmoViewHost::MessageBox(const std::string& textSjis, const std::string& captionSjis,
                              unsigned type) {
    // The game only asks for OK boxes.
    ShowMessageBox(DecodeShiftJis(textSjis), DecodeShiftJis(captionSjis), IconOf(type));
    return IDOK;
}

int FizmoViewHost::ShowMessageBox(const QString& text, const QString& caption,
                                  QMessageBox::Icon icon) {
    // The window may change under a modal loop: a paint goes on in its own pixels.
    if (inStore_) LeaveStore(true);
    if (messageBox_) return messageBox_(text, caption, icon);
    QMessageBox box(icon, caption, text, QMessageBox::Ok, window());
    if (messageBoxTimeoutMs_ > 0)
        QTimer::singleShot(messageBoxTimeoutMs_, &box, [&box] { box.done(QMessageBox::Ok); });
    return box.exec();
}

int FizmoViewHost::AskFileName(std::string* fileName) {
    if (inStore_) LeaveStore(true);
    return RunFileNameDialog(window(), fileName);
}

std::time_t FizmoViewHost::CalendarTime() {
    return std::time(nullptr);
}

std::int64_t FizmoViewHost::MonotonicMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void FizmoViewHost::SleepBriefly(std::int64_t atMostMs) {
    // Handles no events: a pause holds the thread, as the game means it to. It wakes just
    // after the calendar second turns, the only moment the pause can end before its limit:
    // two wake-ups a second instead of hundreds.
    using namespace std::chrono;
    const auto now = system_clock::now().time_since_epoch();
    const auto toNextSecond = seconds(1) - (now - duration_cast<seconds>(now)) + milliseconds(1);
    std::this_thread::sleep_for(std::clamp<system_clock::duration>(
        toNextSecond, milliseconds(1), milliseconds(std::max<std::int64_t>(atMostMs, 1))));
}
