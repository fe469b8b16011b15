// The widget that gives the game view its window: timer, paints, the window surface and
// the mapping of mouse and keys onto the view's handlers.
#include <gtest/gtest.h>

#include <QDir>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <fstream>
#include <thread>

#include "app/view_host.h"
#include "app_fixture.h"
#include "game/fizmo_view.h"
#include "platform/sound_device.h"
#include "sound/wave_sound.h"

namespace {

class AppViewHostTest : public AppFolderTest {
protected:
    void SetUp() override {
        AppFolderTest::SetUp();
        host_ = std::make_unique<FizmoViewHost>();
        host_->SetMessageBoxHandler(
            [this](const QString& text, const QString& caption, QMessageBox::Icon icon) {
                boxes_.push_back({text, caption, icon});
                return 0;
            });
        host_->resize(640, 484);
        host_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host_.get()));
        ASSERT_TRUE(QTest::qWaitFor([this] { return host_->InitialUpdates() == 1; }));
    }
    void TearDown() override {
        host_.reset();
        AppFolderTest::TearDown();
    }
    CFizmoView& View() { return host_->View(); }

    struct Box {
        QString text, caption;
        QMessageBox::Icon icon;
    };
    std::unique_ptr<FizmoViewHost> host_;
    std::vector<Box> boxes_;
};

int ActiveShots(const CFizmoView& view) {
    int n = 0;
    for (int j = 0; j < kShots; ++j) n += view.m_bShotActive[j];
    return n;
}

TEST_F(AppViewHostTest, SizeReachesTheViewBeforeItsFirstUpdate) {
    EXPECT_EQ(View().m_nViewWidth, 640);
    EXPECT_EQ(View().m_nViewHeight, 484);
    EXPECT_EQ(View().m_nTargetY[9], 9 * 38 + 50);  // rows laid out for the shown height
    EXPECT_TRUE(View().m_pSrcDC->HasSurface());
}

TEST_F(AppViewHostTest, TimerTicksMissedWhileTheThreadIsHeldComeAsOne) {
    View().m_nScrollX = 640;
    View().m_nScrollSpeed = 1;
    host_->SetTimer(kTimerId, 100);
    std::this_thread::sleep_for(std::chrono::milliseconds(450));
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    host_->KillTimer(kTimerId);
    EXPECT_EQ(640 - View().m_nScrollX, 1);
    EXPECT_FALSE(host_->TimerRunning(kTimerId));
}

TEST_F(AppViewHostTest, PaintContextIsClippedToTheInvalidArea) {
    QCoreApplication::processEvents();  // the first paint
    host_->InvalidateRect(RECT{10, 20, 50, 40}, false);
    host_->InvalidateRect(RECT{30, 30, 70, 60}, false);
    Surface* paint = host_->BeginPaint();
    const RECT clip = paint->GetClipBox();
    host_->EndPaint(paint);
    EXPECT_EQ(clip.left, 10);
    EXPECT_EQ(clip.top, 20);
    EXPECT_EQ(clip.right, 70);
    EXPECT_EQ(clip.bottom, 60);
}

TEST_F(AppViewHostTest, ExposesShowTheLastFrameAndAMinimizedWindowComposesNone) {
    host_->SetTimer(kTimerId, kTimerPeriodMs);  // a game runs: paints compose and judge
    View().m_bGameOver = 1;
    host_->InvalidateRect(host_->GetClientRect(), false);
    QCoreApplication::processEvents();  // the first paint, which runs the game-over pause
    ASSERT_NE(View().m_timeStart, 0);
    const std::time_t paused = View().m_timeStart;
    QExposeEvent expose(QRegion(0, 0, 640, 484));
    QCoreApplication::sendEvent(host_->windowHandle(), &expose);
    QCoreApplication::processEvents();
    EXPECT_EQ(View().m_timeStart, paused) << "an expose replayed the game over";
    host_->InitialUpdate();  // 新規
    QCoreApplication::processEvents();
    EXPECT_EQ(View().m_timeStart, paused) << "新規 replayed the game over";

    View().m_bGameOver = 0;
    View().m_bProblemsDone = 1;
    host_->SetTimer(kTimerId, kTimerPeriodMs);
    host_->showMinimized();
    host_->InvalidateRect(host_->GetClientRect(), false);
    QCoreApplication::processEvents();
    EXPECT_EQ(View().m_timeStart, paused) << "judged while minimized";
    host_->showNormal();
    QTest::qWait(50);
    EXPECT_NE(View().m_timeStart, paused) << "no frame after the restore";
}

TEST_F(AppViewHostTest, WindowSurfaceIsOnTheScreenAsSoonAsItIsReleased) {
    Bitmap red;
    red.CreateCompatibleBitmap(40, 30);
    red.Image().fill(Qt::red);
    Surface source;
    source.CreateCompatibleDC(nullptr);
    source.SelectObject(&red);

    Surface* window = host_->GetDC();
    window->BitBlt(100, 100, 40, 30, &source, 0, 0, SRCCOPY);
    host_->ReleaseDC(window);
    // No event is handled in between, as during a pause that holds the thread.
    const QImage shown = host_->grab().toImage();
    EXPECT_EQ(shown.pixelColor(120, 110), QColor(Qt::red));
}

TEST_F(AppViewHostTest, FramesComposedInTheWindowStoreStayUnderLaterDrawing) {
    host_->InvalidateRect(host_->GetClientRect(), true);  // composed where the window keeps it
    QCoreApplication::processEvents();
    QImage expected = host_->grab().toImage();
    ASSERT_NE(expected.pixel(320, 300), QColor(Qt::white).rgb()) << "no frame was drawn";

    // The back buffer's own pixels are behind the window's: they must catch up first.
    Surface* window = host_->GetDC();
    Brush red;
    red.CreateSolidBrush(RGB(255, 0, 0));
    window->SelectObject(&red);
    window->PatBlt(100, 100, 40, 30, PATCOPY);
    host_->ReleaseDC(window);
    QPainter(&expected).fillRect(100, 100, 40, 30, Qt::red);
    EXPECT_EQ(host_->grab().toImage(), expected);

    host_->InvalidateRect(RECT{0, 0, 50, 50}, false);  // a part of the next frame
    QCoreApplication::processEvents();
    EXPECT_EQ(host_->grab().toImage(), expected);
}

TEST_F(AppViewHostTest, NoFrameIsComposedInAStoreAboutToBeMadeAgain) {
    // Qt makes the store again at its next paint; the frame would be composed in freed
    // memory, even where the window shrank and still fits in the old store.
    for (const QSize size : {QSize(320, 240), QSize(800, 600)}) {
        host_->resize(size);
        EXPECT_FALSE(StoreAreaOf(*host_)) << size.width();
        ASSERT_TRUE(QTest::qWaitFor([this] { return StoreAreaOf(*host_).has_value(); }));
        const StoreArea after = *StoreAreaOf(*host_);
        EXPECT_EQ(QSize(after.width, after.height), size);
    }
}

TEST_F(AppViewHostTest, MouseMovesTheShipAndOnlyTheFirstPressOfADoubleClickFires) {
    QTest::mouseMove(host_.get(), QPoint(300, 200));
    EXPECT_EQ(View().m_nShipX, 300 - 88);
    EXPECT_EQ(View().m_nShipY, 200 - 88);

    const int before = g_nNextShot;
    // The first press of a double click, then the double click itself.
    QTest::mouseClick(host_.get(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 200));
    QTest::mouseDClick(host_.get(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 200));
    EXPECT_EQ((g_nNextShot - before + kShots) % kShots, 1);
    QTest::mouseClick(host_.get(), Qt::RightButton, Qt::NoModifier, QPoint(300, 200));
    EXPECT_EQ((g_nNextShot - before + kShots) % kShots, 1);
    EXPECT_EQ(ActiveShots(View()), 1);
}

TEST_F(AppViewHostTest, KeypadDigitsSteerTheShipAndOtherDigitsDoNot) {
    View().m_nShipX = 500;
    View().m_nShipY = 200;
    QTest::keyClick(host_.get(), Qt::Key_8, Qt::KeypadModifier);
    QTest::keyClick(host_.get(), Qt::Key_6, Qt::KeypadModifier);
    QTest::keyClick(host_.get(), Qt::Key_6, Qt::KeypadModifier);
    EXPECT_EQ(View().m_nShipY, 170);
    EXPECT_EQ(View().m_nShipX, 560);
    QTest::keyClick(host_.get(), Qt::Key_2);
    QTest::keyClick(host_.get(), Qt::Key_Down);
    EXPECT_EQ(View().m_nShipY, 170);
}

TEST_F(AppViewHostTest, SpaceDrawsNewOperandsAndTabReachesTheGame) {
    View().m_nDigitIndex = 1;
    View().m_strEntered = std::string("1");
    QTest::keyClick(host_.get(), Qt::Key_Space);
    EXPECT_EQ(View().m_nDigitIndex, 0);
    EXPECT_TRUE(View().m_strEntered.empty());
    QTest::keyClick(host_.get(), Qt::Key_Tab);
    EXPECT_TRUE(host_->hasFocus());
}

TEST_F(AppViewHostTest, PlayerInputIsReported) {
    int reports = 0;
    QObject::connect(host_.get(), &FizmoViewHost::playerInput, [&reports] { ++reports; });
    QTest::keyClick(host_.get(), Qt::Key_Z);
    QTest::mouseClick(host_.get(), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_EQ(reports, 2);
}

TEST_F(AppViewHostTest, MessageBoxShowsTheDecodedShiftJisTextWithItsIcon) {
    // "ファイル" in Shift-JIS
    EXPECT_EQ(host_->MessageBox("\x83t\x83@\x83"
                                "C\x83\x8B",
                                "Fizmo", MB_OK | MB_ICONEXCLAMATION),
              IDOK);
    ASSERT_FALSE(boxes_.empty());
    EXPECT_EQ(boxes_.back().text, QString("ファイル"));
    EXPECT_EQ(boxes_.back().caption, QString("Fizmo"));
    EXPECT_EQ(boxes_.back().icon, QMessageBox::Warning);
}

}  // namespace
