#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "fake_window.h"
#include "game/fizmo_view.h"
#include "game/texts.h"
#include "play_driver.h"
#include "res/resource_ids.h"
#include "temp_folder.h"

namespace {

int CountColour(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour;
    return n;
}

class StageFlow : public ::testing::Test {
protected:
    StageFlow() : view(&window, &random) { view.OnSize(0, 640, 484); }
    // Ten scripted draws for the tile speeds; anything after them (operands) reads 0.
    void ScriptSpeeds(std::initializer_list<int> values) { random.values = values; }
    bool BackgroundIs(int id) {
        Bitmap expected;
        if (!expected.LoadBitmap(id)) return true;  // pictures not built in
        return view.m_pBackground->Image() == expected.Image();
    }

    SoundDeviceRelease soundDevice;  // released after the view's sounds
    FakeWindow window{640, 484};
    ScriptedRandom random{0};
    CFizmoView view;
};

TEST_F(StageFlow, StartResetsPlayButLeavesMissilesScrollKindAndLevel) {
    view.OnLevelHard();
    view.OnModeAddition();
    view.m_bShotActive[3] = 1;
    view.m_nShotX[3] = 222;
    view.m_nScrollX = 300;
    view.m_nScrollSpeed = 40;
    view.m_nTargetDY[5] = -2;
    view.m_nTargetX[5] = 400;
    view.m_nScore = 55;
    view.m_nStage = 4;
    view.m_bGameOver = view.m_bProblemsDone = view.m_bStageClear = 1;
    view.m_nShipX = 10;
    ScriptSpeeds({0, 1, 29, 30, 59, 5, 6, 7, 8, 9});
    view.OnStart();

    EXPECT_TRUE(window.timerRunning);
    EXPECT_EQ(window.timerId, kTimerId);
    EXPECT_EQ(window.timerPeriod, 100u);
    EXPECT_EQ(view.m_nScore, 0);
    EXPECT_EQ(view.m_nStage, 1);
    EXPECT_EQ(view.m_bGameOver + view.m_bProblemsDone + view.m_bStageClear, 0);
    EXPECT_EQ(view.m_nShipX, 640);
    EXPECT_EQ(view.m_nShipY, 200);
    const int speeds[] = {30, 1, 29, 30, 29, 5, 6, 7, 8, 9};
    for (int k = 0; k < kTiles; ++k) {
        EXPECT_EQ(view.m_nTargetX[k], 0);
        EXPECT_EQ(view.m_nTargetY[k], 50 + 38 * k);
        EXPECT_EQ(view.m_nTargetSpeed[k], speeds[k]) << k;
    }
    EXPECT_EQ(view.m_bShotActive[3], 1);
    EXPECT_EQ(view.m_nShotX[3], 222);
    EXPECT_EQ(view.m_nScrollX, 300);
    EXPECT_EQ(view.m_nScrollSpeed, 40);
    EXPECT_EQ(view.m_nTargetDY[5], -2);
    EXPECT_EQ(view.m_nQuizMode, 2);
    EXPECT_EQ(view.m_nSpeedLow, 30);
    EXPECT_TRUE(BackgroundIs(IDB_STAR_FIELD));
    EXPECT_TRUE(window.invalidations.empty()) << "the first tick asks for the frame";
}

TEST_F(StageFlow, StopKillsTheTimerAndChangesNoFlag) {
    view.OnStart();
    view.m_bGameOver = 1;
    view.OnStop();
    EXPECT_FALSE(window.timerRunning);
    EXPECT_EQ(view.m_bGameOver, 1);
    EXPECT_EQ(view.m_nStage, 1);
}

TEST_F(StageFlow, EachStageSetsItsBackgroundDirectionsAndSpeeds) {
    struct Case {
        int cleared;
        int background;
        int dyEven, dyOdd;
        int randFor0, speed0;  // first tile's draw at the hard level
    };
    const Case cases[] = {
        {1, IDB_MEADOW, -1, 1, 0, 30},     // low rule: 0 becomes the low bound
        {2, IDB_SKY, 1, 1, 29, 29},        //
        {3, IDB_STAR_FIELD, 1, 1, 0, 40},  // high rule: small remainders get the high bound added
        {4, IDB_MEADOW, -2, 2, 29, 69},    //
        {5, IDB_SKY, 1, 1, 30, 30},        //
    };
    view.OnLevelHard();
    view.OnStart();
    for (const Case& c : cases) {
        view.m_nStage = c.cleared;
        view.m_nScore = 100;
        view.m_bStageClear = 1;
        view.m_nTargetX[2] = 300;
        view.m_nTargetY[2] = 999;
        ScriptSpeeds({c.randFor0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
        view.ShowStageClear();
        const int stage = c.cleared + 1;
        EXPECT_EQ(view.m_nStage, stage);
        EXPECT_EQ(view.m_nTargetSpeed[0], c.speed0) << "stage " << stage;
        EXPECT_EQ(view.m_nTargetDY[0], c.dyEven) << "stage " << stage;
        EXPECT_EQ(view.m_nTargetDY[1], c.dyOdd) << "stage " << stage;
        EXPECT_EQ(view.m_nTargetX[2], 0);
        EXPECT_EQ(view.m_nTargetY[2], 50 + 2 * 38);
        EXPECT_EQ(view.m_nScore, 0);
        EXPECT_EQ(view.m_bStageClear, 0);
        EXPECT_TRUE(window.timerRunning);
        EXPECT_TRUE(BackgroundIs(c.background)) << "stage " << stage;
    }
}

TEST_F(StageFlow, StageClearShowsItsTextOnTheWindowBeforeTwoPauses) {
    view.OnStart();
    const long long before = window.NowMs();
    view.ShowStageClear();
    const long long held = window.NowMs() - before;
    EXPECT_GT(held, 7000);
    EXPECT_LE(held, 9000 + window.sleepStepMs);
    ASSERT_EQ(window.shownWhileHeld.size(), 1u);
    EXPECT_GT(CountColour(window.shownWhileHeld[0], qRgb(0, 255, 255)), 100);
    EXPECT_EQ(view.m_nStage, 2);
    window.shownWhileHeld[0].save(QStringLiteral(FIZMO_BUILD_DIR "/stage_clear.png"));
}

bool Playing(WaveSound* sound) {
    std::uint32_t status = 0;
    return sound && sound->apBuffers[0] && sound->apBuffers[0]->GetStatus(&status) == DS_OK &&
           (status & DSBSTATUS_PLAYING);
}

// Notes on its clock when the fanfare and the next stage's music start.
class PauseWatch : public FakeWindow {
public:
    using FakeWindow::FakeWindow;
    void SleepBriefly(std::int64_t atMostMs) override {
        FakeWindow::SleepBriefly(atMostMs);
        if (fanfareAt < 0 && Playing(view->m_pSndClear)) fanfareAt = NowMs();
    }
    CFizmoView* view = nullptr;
    long long fanfareAt = -1;
};

TEST(StageFlowPauses, FanfareAfterThreeSecondsAndTheNextStageAfterSixMore) {
    SoundDeviceRelease soundDevice;
    PauseWatch window{640, 484};
    ScriptedRandom random{0};
    CFizmoView view(&window, &random);
    window.view = &view;
    view.OnSize(0, 640, 484);
    view.OnInitialUpdate();
    if (!view.m_pSndClear) GTEST_SKIP() << "no sound device";
    view.OnStart();
    const long long before = window.NowMs();
    view.ShowStageClear();
    const long long step = window.sleepStepMs;
    EXPECT_GT(window.fanfareAt - before, 2000 + step);
    EXPECT_LE(window.fanfareAt - before, 3000 + step);
    EXPECT_GT(window.NowMs() - window.fanfareAt, 5000 - step);
    EXPECT_LE(window.NowMs() - window.fanfareAt, 6000);
    EXPECT_TRUE(Playing(view.m_pSndBgm)) << "the next stage's music";
}

TEST_F(StageFlow, ClearingTheSixthStageEndsTheGameWithTheTimerOff) {
    view.OnStart();
    view.m_nStage = 6;
    view.m_nScore = 100;
    view.m_bStageClear = 1;
    view.m_nTargetX[4] = 500;
    view.ShowStageClear();
    EXPECT_EQ(view.m_nStage, 7);
    EXPECT_FALSE(window.timerRunning);
    window.shownWhileHeld.at(0).save(QStringLiteral(FIZMO_BUILD_DIR "/all_stages_clear.png"));
    EXPECT_EQ(view.m_bStageClear, 1) << "nothing sets up a seventh stage";
    EXPECT_EQ(view.m_nScore, 100);
    EXPECT_EQ(view.m_nTargetX[4], 0);
    ASSERT_EQ(window.shownWhileHeld.size(), 1u);
    // The final text is wider than "Clear Stage 5".
    FakeWindow other{640, 484};
    CFizmoView stageFive(&other, &random);
    stageFive.m_nStage = 5;
    stageFive.ShowStageClear();
    ASSERT_EQ(other.shownWhileHeld.size(), 1u);
    EXPECT_NE(CountColour(window.shownWhileHeld[0], qRgb(0, 255, 255)),
              CountColour(other.shownWhileHeld[0], qRgb(0, 255, 255)));

    // Repeated paints repeat the final sequence and keep counting.
    view.ShowStageClear();
    EXPECT_EQ(view.m_nStage, 8);
}

TEST_F(StageFlow, GameOverAndProblemsDoneDrawAfterTheirPauseAndCloseTheFile) {
    const TempFolder dir;
    const auto path = dir / "problems.dat";
    std::ofstream(path) << "a\nb\nc\n1\n";
    view.m_strProblemFile = path.string();
    view.OpenProblemFile();
    ASSERT_NE(view.m_pProblemFile, nullptr);

    Bitmap frame;
    frame.CreateCompatibleBitmap(640, 484);
    frame.Image().fill(Qt::black);
    Surface dc;
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(&frame);
    dc.SetBkColor(RGB(0, 0, 0));
    const long long before = window.NowMs();
    view.ShowGameOver(&dc);
    EXPECT_GT(window.NowMs() - before, 3000);
    EXPECT_LE(window.NowMs() - before, 4000 + window.sleepStepMs);
    EXPECT_GT(CountColour(frame.Image(), qRgb(0, 255, 255)), 100);
    EXPECT_EQ(view.m_pProblemFile, nullptr);

    frame.Image().fill(Qt::black);
    const long long problemsDone = window.NowMs();
    view.ShowProblemsDone(&dc);  // no stream left: closes nothing
    EXPECT_GT(window.NowMs() - problemsDone, 3000);
    EXPECT_LE(window.NowMs() - problemsDone, 4000 + window.sleepStepMs);
    EXPECT_GT(CountColour(frame.Image(), qRgb(0, 255, 255)), 100);
}

TEST_F(StageFlow, PauseOfNSecondsFollowsTheWholeSecondClock) {
    for (long long offset : {0LL, 10LL, 500LL, 990LL}) {
        for (int n : {1, 3, 4}) {
            window.AdvanceMs(1000 - window.NowMs() % 1000 + offset);
            const long long before = window.NowMs();
            view.WaitSeconds(n);
            const long long held = window.NowMs() - before;
            EXPECT_GT(held, (n - 1) * 1000LL) << n << "s from +" << offset;
            EXPECT_LE(held, n * 1000LL) << n << "s from +" << offset;
        }
    }
}

TEST_F(StageFlow, CalendarSetBackMidPauseEndsItOnTime) {
    const long long before = window.NowMs();
    window.onSleep = [&] {
        if (window.NowMs() - before == 1500) window.calendarShiftMs = -3'600'000;
    };
    view.WaitSeconds(3);
    EXPECT_LE(window.NowMs() - before, 3000 + window.sleepStepMs);
}

TEST_F(StageFlow, StartInWordProblemsReopensTheFileAndReportsAFailureWithTheTimerRunning) {
    view.m_strProblemFile = "/nonexistent/fizmo/Mondai.dat";
    view.OnModeWordProblems();
    EXPECT_TRUE(window.messages.empty()) << "choosing the kind opens nothing";
    view.OnStart();
    ASSERT_EQ(window.messages.size(), 1u);
    EXPECT_EQ(window.messages[0].text, texts::kFileOpenFailed);
    EXPECT_EQ(window.messages[0].caption, "Fizmo");
    EXPECT_EQ(window.messages[0].type, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_TRUE(window.messages[0].timerWasRunning);
}

TEST_F(StageFlow, ResizeLaysOutRowsOnlyInStraightStages) {
    struct Case {
        int height, row0, row1, row9;
    };
    for (const Case& c : {Case{600, 50, 100, 500}, Case{484, 50, 88, 392}, Case{100, 50, 50, 50},
                          Case{50, 50, 45, 5}}) {
        view.m_nStage = 4;
        view.m_nTargetX[1] = 77;
        view.OnSize(0, 800, c.height);
        EXPECT_EQ(view.m_nViewHeight, c.height);
        EXPECT_EQ(view.m_nTargetY[0], c.row0);
        EXPECT_EQ(view.m_nTargetY[1], c.row1);
        EXPECT_EQ(view.m_nTargetY[9], c.row9);
        EXPECT_EQ(view.m_nTargetX[1], 77);
    }
    for (int stage : {2, 3, 5, 6, 7}) {
        view.m_nStage = stage;
        view.m_nTargetY[3] = 123;
        view.OnSize(0, 300, 700);
        EXPECT_EQ(view.m_nTargetY[3], 123) << "stage " << stage;
        EXPECT_EQ(view.m_nViewWidth, 300);
    }
}

struct Check : CmdUI {
    int checked = -1;
    void SetCheck(int c) override { checked = c; }
};

TEST_F(StageFlow, CheckMarksFollowKindAndLowSpeedBound) {
    auto checked = [&](unsigned id) {
        Check ui;
        view.OnUpdateCommandUI(id, &ui);
        return ui.checked;
    };
    EXPECT_EQ(checked(ID_MODE_TIMES_TABLE), 1);
    EXPECT_EQ(checked(ID_LEVEL_EASY), 1);
    view.OnCommand(ID_MODE_WORD_PROBLEMS);
    view.OnCommand(ID_LEVEL_NORMAL);
    EXPECT_EQ(checked(ID_MODE_TIMES_TABLE), 0);
    EXPECT_EQ(checked(ID_MODE_WORD_PROBLEMS), 1);
    EXPECT_EQ(view.m_nSpeedHigh, 20);
    view.m_nSpeedHigh = 40;  // a level is told by its low bound alone
    EXPECT_EQ(checked(ID_LEVEL_NORMAL), 1);
    EXPECT_EQ(checked(ID_LEVEL_HARD), 0);
    EXPECT_EQ(checked(ID_START), -1) << "always enabled, never checked";
    EXPECT_FALSE(view.OnCommand(57664)) << "About belongs to the application";
    EXPECT_EQ(view.m_nQuizMode, 3);
}

TEST_F(StageFlow, SecondInitialUpdateOnlyRepaints) {
    view.m_strProblemFile = "/nonexistent/fizmo/Mondai.dat";
    view.OnInitialUpdate();
    EXPECT_TRUE(view.m_pSrcDC->HasSurface());
    const auto messages = window.messages.size();
    WaveSound* bgm = view.m_pSndBgm;
    const auto invalidations = window.invalidations.size();
    view.OnInitialUpdate();
    EXPECT_EQ(window.messages.size(), messages) << "the file is not opened again";
    EXPECT_EQ(view.m_pSndBgm, bgm);
    EXPECT_EQ(window.invalidations.size(), invalidations + 1);
    EXPECT_TRUE(window.lastErase);
}

}  // namespace
