#include <gtest/gtest.h>

#include "fake_window.h"
#include "game/fizmo_view.h"
#include "play_driver.h"

namespace {

namespace ti = test_images;

// A window whose paint context covers only part of the client area, as when it is uncovered.
class PartlyExposedWindow : public FakeWindow {
public:
    using FakeWindow::FakeWindow;
    Surface* BeginPaint() override {
        Surface* paint = FakeWindow::BeginPaint();
        paint->SetMapMode(0);
        if (exposed.right > 0)
            paint->IntersectClipRect(exposed.left, exposed.top, exposed.right, exposed.bottom);
        return paint;
    }
    void EndPaint(Surface* paint) override {
        mapModeAtEnd = paint->GetMapMode();
        FakeWindow::EndPaint(paint);
    }
    RECT exposed{};
    int mapModeAtEnd = -1;
};

// 960 × 484: n = 32, h = 16. Tiles stand beyond the right edge unless a test places them.
class Frame : public ::testing::Test {
protected:
    Frame() : view(&window, &random) {
        view.OnSize(0, 960, 484);
        view.OnInitialUpdate();
        ti::Fill(view);
        for (int k = 0; k < kTiles; ++k) view.m_nTargetX[k] = 2000;
        view.m_nScrollX = 320;
        view.m_nShipX = 400;
        view.m_nShipY = 250;
        window.SetTimer(kTimerId, kTimerPeriodMs);
    }
    QRgb At(int x, int y) { return window.Image().pixel(x, y); }
    // The background at view column x: the cut from 320 stretched by 3/2, nearest pixel.
    static QRgb Backdrop(int x) { return ti::BackgroundColumn(320 + (2 * x + 1) / 3); }
    void Answer(const char* digit) {
        view.m_strDigit[0] = std::string(digit);
        view.m_nDigitCount = 1;
        view.m_nDigitIndex = 0;
    }
    void Shot(int j, int x, int y) {
        view.m_bShotActive[j] = 1;
        view.m_nShotX[j] = x;
        view.m_nShotY[j] = y;
    }

    SoundDeviceRelease soundDevice;
    PartlyExposedWindow window{960, 484};
    ScriptedRandom random{1};  // construction draws speeds and operands
    CFizmoView view;
};

TEST_F(Frame, LayersLandWhereTheyBelong) {
    view.m_nTargetX[3] = 100;
    view.m_nTargetY[3] = 150;
    Shot(2, 300, 300);
    view.OnPaint();

    // The 640 × 400 cut at x 320 covers the whole view.
    EXPECT_EQ(At(0, 60), ti::BackgroundColumn(320));
    EXPECT_EQ(At(959, 483), ti::BackgroundColumn(959));
    EXPECT_EQ(At(480, 100), ti::BackgroundColumn(640));
    // Ship: 1:1, black sprite and white mask are see-through.
    EXPECT_EQ(At(400 + 40, 250 + 40), ti::kShip);
    EXPECT_EQ(At(400 + 136, 250 + 136), ti::kShip);
    EXPECT_NE(At(400 + 39, 250 + 39), ti::kShip);
    // Tile: 48 → n = 32, opaque.
    EXPECT_EQ(At(100, 150), ti::Tile(3));
    EXPECT_EQ(At(131, 181), ti::Tile(3));
    EXPECT_NE(At(132, 150), ti::Tile(3));
    EXPECT_NE(At(100, 182), ti::Tile(3));
    // Missile: 1:1; the strip beyond its 48 pixels adds nothing.
    EXPECT_EQ(At(316, 316), ti::kMissile);
    EXPECT_EQ(At(315, 316), Backdrop(315));
    EXPECT_EQ(At(349, 349), Backdrop(349));
    EXPECT_EQ(window.paints, 1);
    EXPECT_TRUE(window.timerRunning);
}

TEST_F(Frame, MarkIsTwiceTheTileAndOpaqueAndExplosionCoversTheShip) {
    Answer("3");
    view.m_nTargetX[3] = 100;
    view.m_nTargetY[3] = 150;
    Shot(4, 116, 142);
    // Tile 5's left edge at the nose, its middle at nose height.
    view.m_nTargetX[5] = 464;
    view.m_nTargetY[5] = 322;
    view.OnPaint();

    EXPECT_EQ(At(100, 150), qRgb(0, 0, 0)) << "the mark's black covers the tile";
    EXPECT_EQ(At(100 + 32, 150 + 32), ti::kRightMark);
    EXPECT_EQ(At(100 + 63, 150 + 63), qRgb(0, 0, 0));
    EXPECT_NE(At(100 + 64, 150 + 64), qRgb(0, 0, 0));
    EXPECT_EQ(At(400 + 88, 250 + 88), ti::kExplosion);
    EXPECT_EQ(At(400 + 20, 250 + 20), Backdrop(420));
    EXPECT_EQ(At(400 + 41, 250 + 41), ti::kShip);
    EXPECT_EQ(view.m_bGameOver, 1);
    EXPECT_TRUE(window.timerRunning) << "the timer stops in the next frame";
    EXPECT_EQ(view.m_nTargetX[5], 464);
}

TEST_F(Frame, EndStatesStopTheTimerInEveryFrame) {
    view.m_nTargetX[3] = 470;  // where the message stands
    view.m_nTargetY[3] = 230;
    view.m_bGameOver = 1;
    view.OnPaint();
    EXPECT_FALSE(window.timerRunning);
    window.SetTimer(kTimerId, kTimerPeriodMs);
    view.OnPaint();
    EXPECT_FALSE(window.timerRunning);

    view.m_bGameOver = 0;
    view.m_bProblemsDone = 1;
    window.SetTimer(kTimerId, kTimerPeriodMs);
    view.OnPaint();
    EXPECT_FALSE(window.timerRunning);
    EXPECT_EQ(At(480, 240), ti::Tile(3)) << "the frame is drawn over what the sequence drew";
}

TEST_F(Frame, StageClearIsRaisedAtTheEndAndRunInTheNextFrame) {
    view.m_nScore = 95;
    Answer("3");
    view.m_nTargetX[3] = 100;
    view.m_nTargetY[3] = 150;
    Shot(4, 116, 142);
    window.windowSurfaceReleases = 0;
    view.OnPaint();
    EXPECT_EQ(view.m_nScore, 105);
    EXPECT_EQ(view.m_bStageClear, 1);
    EXPECT_EQ(view.m_nStage, 1);
    EXPECT_EQ(window.windowSurfaceReleases, 0);

    view.OnPaint();
    EXPECT_EQ(view.m_nStage, 2);
    EXPECT_EQ(view.m_bStageClear, 0);
    EXPECT_EQ(view.m_nScore, 0);
    EXPECT_EQ(window.windowSurfaceReleases, 1);
}

TEST_F(Frame, OnlyTimesTablesAndAdditionsClearAStageByScore) {
    struct Case {
        int mode, score, raised;
    };
    for (const Case& c : {Case{1, 100, 1}, Case{2, 250, 1}, Case{1, 99, 0}, Case{3, 100, 0},
                          Case{3, 500, 0}, Case{2, -100, 0}}) {
        view.m_nQuizMode = c.mode;
        view.m_nScore = c.score;
        view.m_bStageClear = 0;
        view.OnPaint();
        EXPECT_EQ(view.m_bStageClear, c.raised) << "mode " << c.mode << " score " << c.score;
    }
}

TEST_F(Frame, OnlyTheExposedAreaIsComposedAndCopied) {
    window.Image().fill(qRgb(1, 2, 3));
    view.m_pBackBitmap->Image().fill(qRgb(4, 5, 6));
    window.exposed = RECT{200, 100, 400, 300};
    // A hit outside the exposed area is judged all the same.
    Answer("3");
    view.m_nTargetX[3] = 10;
    view.m_nTargetY[3] = 50;
    Shot(4, 26, 42);
    view.OnPaint();
    EXPECT_EQ(view.m_nScore, 10);
    EXPECT_EQ(At(200, 100), Backdrop(200));
    EXPECT_EQ(At(399, 299), Backdrop(399));
    EXPECT_EQ(At(199, 150), qRgb(1, 2, 3));
    EXPECT_EQ(At(400, 150), qRgb(1, 2, 3));
    EXPECT_EQ(At(300, 300), qRgb(1, 2, 3));
    EXPECT_EQ(view.m_pBackBitmap->Image().pixel(20, 60), qRgb(4, 5, 6));
    EXPECT_EQ(window.mapModeAtEnd, MM_TEXT);
}

TEST_F(Frame, WindowColourShowsWhereNothingIsDrawn) {
    view.m_pBackground->DeleteObject();
    view.m_pBackBitmap->Image().fill(qRgb(4, 5, 6));
    view.OnPaint();
    EXPECT_EQ(At(700, 400), QColor(Qt::white).rgb());
}

TEST_F(Frame, SelectionsArePutBackAfterEveryFrame) {
    Bitmap* backBefore = view.m_pBackDC->SelectedBitmap();
    view.m_pSrcDC->SelectObject(view.m_pWrongMark.get());
    view.m_nScore = 100;
    view.OnPaint();  // raises stage clear
    view.OnPaint();  // runs it
    EXPECT_EQ(view.m_pSrcDC->SelectedBitmap(), view.m_pWrongMark.get());
    EXPECT_EQ(view.m_pBackDC->SelectedBitmap(), backBefore);
    EXPECT_NE(backBefore, view.m_pBackBitmap.get());
    // The back buffer's brush is its own again: a fill now does not reach a dead brush.
    view.m_pBackDC->SelectObject(view.m_pBackBitmap.get());
    EXPECT_TRUE(view.m_pBackDC->PatBlt(0, 0, 4, 4, PATCOPY));
    view.m_pBackDC->SelectObject(backBefore);
}

// Below the heads-up display and with the ship away, a frame is the background alone: it must
// be what StretchBlt draws straight from the picture now shown, at the view's size now.
void ExpectBackgroundAsStretched(CFizmoView& v, const QImage& shown) {
    Bitmap direct;
    direct.CreateCompatibleBitmap(v.m_nViewWidth, v.m_nViewHeight);
    Surface dc, picture;
    dc.CreateCompatibleDC(nullptr);
    picture.CreateCompatibleDC(nullptr);
    dc.SelectObject(&direct);
    picture.SelectObject(v.m_pBackground.get());
    dc.StretchBlt(0, 0, v.m_nViewWidth, v.m_nViewHeight, &picture, v.m_nScrollX, 0, 640, 400,
                  SRCCOPY);
    const QRect below(0, 120, v.m_nViewWidth, v.m_nViewHeight - 120);
    EXPECT_EQ(shown.copy(below), direct.Image().copy(below))
        << v.m_nViewWidth << " x " << v.m_nViewHeight << " from " << v.m_nScrollX;
}

TEST_F(Frame, StretchedBackgroundIsMadeAgainForANewWidthOrPictureOnly) {
    auto paint = [this](int scrollX) {
        view.m_nShipX = 5000;
        for (int& x : view.m_nTargetX) x = 2000;
        view.m_nScrollX = scrollX;
        view.OnPaint();
        ExpectBackgroundAsStretched(view, window.Image());
    };
    paint(320);
    paint(300);
    view.OnSize(0, 960, 300);  // the rows do not depend on the height
    paint(640);
    EXPECT_EQ(view.m_stretchedBackground.Builds(), 1);

    view.OnSize(0, 640, 484);
    paint(300);
    EXPECT_EQ(view.m_stretchedBackground.Builds(), 2) << "not made again for a new width";

    view.m_nStage = 2;
    view.SetUpStage();  // the meadow
    paint(300);
    EXPECT_EQ(view.m_stretchedBackground.Builds(), 3) << "not made again for a new picture";

    // 1366 wide: a scroll of 10 falls between the view's pixels; the cut is stretched anew.
    window.Resize(1366, 484);
    view.OnSize(0, 1366, 484);
    paint(10);
    paint(320);
    EXPECT_EQ(view.m_stretchedBackground.Builds(), 4);
}

TEST(FrameWithoutSetUp, PaintBeforeTheViewIsShownComposesNothing) {
    FakeWindow window;
    ScriptedRandom random;
    random.fallback = 1;
    CFizmoView view(&window, &random);
    view.OnSize(0, 640, 480);
    view.OnPaint();
    EXPECT_EQ(window.paints, 1);
    CFizmoView windowless(nullptr, &random);
    windowless.OnPaint();
}

}  // namespace
