#include "game/world_step.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "fake_window.h"
#include "game/fizmo_view.h"

namespace {

double Sine(double x) {
    return std::sin(x);
}

class WorldStep : public ::testing::Test {
protected:
    WorldStep() : view(&window, &random) {
        random.calls = 0;
        view.OnSize(0, 640, 480);
    }
    void Step() { StepWorld(view, random, Sine); }
    void AllTilesStill() {
        for (int k = 0; k < kTiles; ++k) view.m_nTargetSpeed[k] = 0;
    }

    FakeWindow window;
    ScriptedRandom random{1};  // construction draws speeds and operands
    CFizmoView view;
};

TEST_F(WorldStep, ScrollRunsDownToZeroThenJumpsBackTo640) {
    std::vector<int> seen;
    AllTilesStill();
    for (int i = 0; i < 34; ++i) {
        seen.push_back(view.m_nScrollX);
        Step();
    }
    EXPECT_EQ(seen[1], 620);
    EXPECT_EQ(seen[32], 0);
    EXPECT_EQ(seen[33], 640);

    view.m_nScrollSpeed = 50;
    view.m_nScrollX = 40;
    Step();
    EXPECT_EQ(view.m_nScrollX, 640) << "-10 is never stored";

    view.m_nScrollSpeed = 0;
    Step();
    EXPECT_EQ(view.m_nScrollX, 640);
}

TEST_F(WorldStep, TileWrapsOnlyBeyondTheRightEdgeAndDrawsSpeedsInTileOrder) {
    random.fallback = -1;
    AllTilesStill();
    view.m_nTargetSpeed[3] = 5;
    view.m_nTargetX[3] = 635;  // lands exactly on W
    view.m_nTargetSpeed[7] = 5;
    view.m_nTargetX[7] = 636;  // passes W
    random.values = {2};
    Step();
    EXPECT_EQ(view.m_nTargetX[3], 640);
    EXPECT_EQ(view.m_nTargetX[7], 0);
    EXPECT_EQ(view.m_nTargetSpeed[7], 2);

    // Both wrap in the next tick: tile 3 takes the first number drawn, tile 7 the second.
    view.m_nTargetX[7] = 640;
    random.values = {0, 3};
    Step();
    EXPECT_EQ(view.m_nTargetSpeed[3], 5) << "a remainder of 0 gives the low bound";
    EXPECT_EQ(view.m_nTargetSpeed[7], 3);
    EXPECT_EQ(random.calls, 3);
}

TEST_F(WorldStep, WrapSpeedRangesPerStageAndLevel) {
    struct Case {
        int stage, low, high, rand, speed;
    };
    const Case cases[] = {
        {4, 30, 40, 0, 30}, {4, 30, 40, 29, 59}, {4, 30, 40, 30, 30}, {4, 30, 40, 39, 39},
        {4, 5, 10, 4, 9},   {1, 30, 40, 30, 30}, {1, 10, 20, 9, 9},   {2, 30, 40, 0, 10},
        {2, 30, 40, 19, 9}, {5, 5, 10, 9, 19},   {5, 5, 10, 10, 10},
    };
    for (const Case& c : cases) {
        view.m_nStage = c.stage;
        view.m_nSpeedLow = c.low;
        view.m_nSpeedHigh = c.high;
        AllTilesStill();
        view.m_nTargetX[0] = 641;
        for (int k = 0; k < kTiles; ++k) view.m_nTargetY[k] = 100;
        random.values = {c.rand};
        Step();
        EXPECT_EQ(view.m_nTargetSpeed[0], c.speed)
            << "stage " << c.stage << " level " << c.low << " rand " << c.rand;
    }
}

TEST_F(WorldStep, BouncingTilesTurnAtTheEdgesWithoutClamping) {
    view.m_nStage = 2;
    AllTilesStill();
    view.m_nTargetY[0] = 50;
    view.m_nTargetDY[0] = -1;
    view.m_nTargetY[1] = 480;
    view.m_nTargetDY[1] = 2;
    Step();
    EXPECT_EQ(view.m_nTargetY[0], 49);
    EXPECT_EQ(view.m_nTargetDY[0], 1);
    EXPECT_EQ(view.m_nTargetY[1], 482) << "stays beyond H for one tick";
    EXPECT_EQ(view.m_nTargetDY[1], -2);
    Step();
    EXPECT_EQ(view.m_nTargetY[0], 50);
    EXPECT_EQ(view.m_nTargetY[1], 480);

    // Far outside after the window shrank: the direction flips every tick.
    view.m_nTargetY[2] = 700;
    view.m_nTargetDY[2] = 1;
    Step();
    Step();
    EXPECT_EQ(view.m_nTargetY[2], 700);
}

TEST_F(WorldStep, SinePathUsesWidthAmplitudeTruncatesAndClamps) {
    view.m_nStage = 3;
    AllTilesStill();
    view.m_nTargetSpeed[9] = 10;
    view.m_nTargetX[9] = 80;
    view.m_nTargetX[0] = 270;
    view.m_nTargetX[4] = 0;
    random.fallback = -1;  // the sine stages draw no speeds
    Step();
    EXPECT_EQ(view.m_nTargetX[9], 90);
    EXPECT_EQ(view.m_nTargetY[9], 455) << "455.99998 truncated, not rounded";
    EXPECT_EQ(view.m_nTargetY[0], 50) << "-13 clamped to the top";
    EXPECT_EQ(view.m_nTargetY[4], 4 * 38 + 50);

    view.OnSize(0, 640, 100);  // pitch 0: everything sits at 50 or below H
    view.m_nTargetX[9] = 90;
    Step();
    EXPECT_EQ(view.m_nTargetY[9], 100) << "clamped to H";

    view.m_nTargetSpeed[5] = 700;
    view.m_nTargetX[5] = 0;
    view.m_nStage = 6;
    Step();
    EXPECT_EQ(view.m_nTargetX[5], 0);
    EXPECT_EQ(view.m_nTargetSpeed[5], 700) << "speed stays after the wrap";
    EXPECT_EQ(random.calls, 0);
}

TEST_F(WorldStep, MissilesFlyLeftAndRetireBeyondMinus100) {
    view.m_bShotActive[4] = 1;
    view.m_nShotX[4] = -70;
    view.m_nShotY[4] = 123;
    view.m_nShotX[5] = 300;  // parked slot: untouched
    Step();
    EXPECT_EQ(view.m_nShotX[4], -100);
    EXPECT_EQ(view.m_bShotActive[4], 1) << "exactly -100 stays in flight";
    Step();
    EXPECT_EQ(view.m_nShotX[4], -130);
    EXPECT_EQ(view.m_bShotActive[4], 0);
    Step();
    EXPECT_EQ(view.m_nShotX[4], -130);
    EXPECT_EQ(view.m_nShotY[4], 123);
    EXPECT_EQ(view.m_nShotX[5], 300);
}

TEST_F(WorldStep, FinishedGameMovesOnlyBackgroundAndMissiles) {
    view.m_nStage = 7;
    view.m_nTargetX[2] = 641;
    view.m_bShotActive[0] = 1;
    view.m_nShotX[0] = 100;
    const int scoreBefore = view.m_nScore;
    const int shipX = view.m_nShipX;
    random.fallback = -1;
    Step();
    EXPECT_EQ(view.m_nTargetX[2], 641);
    EXPECT_EQ(view.m_nShotX[0], 70);
    EXPECT_EQ(view.m_nScrollX, 620);
    EXPECT_EQ(view.m_nScore, scoreBefore);
    EXPECT_EQ(view.m_nShipX, shipX);
}

TEST_F(WorldStep, TimerStepsThenAsksForTheWholeAreaWithoutErasing) {
    view.OnTimer(1);
    ASSERT_EQ(window.invalidations.size(), 1u);
    EXPECT_EQ(window.invalidations[0].right, 640);
    EXPECT_EQ(window.invalidations[0].bottom, 480);
    EXPECT_FALSE(window.lastErase);
    EXPECT_EQ(view.m_nScrollX, 620);
}

TEST(FizmoViewDefaults, SpeedsComeBeforeSeedingAndOperandsAfter) {
    FakeWindow window;
    ScriptedRandom random;
    random.values = {10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 27, 34};
    CFizmoView view(&window, &random);
    EXPECT_EQ(view.m_nTargetSpeed[0], 5) << "10 % 5 is 0, which becomes 5";
    EXPECT_EQ(view.m_nTargetSpeed[1], 1);
    EXPECT_EQ(view.m_nOperandA, 7);
    EXPECT_EQ(view.m_nOperandB, 4);
}

}  // namespace
