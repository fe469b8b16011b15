// The attract mode's pilot, on the game's state alone: each planned shot is flown with the
// game's own world step and judged by the game's hit and collision rules.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "app/demo_pilot.h"
#include "game/fizmo_view.h"
#include "game/random.h"
#include "game/tile_layout.h"
#include "game/world_step.h"
#include "play_driver.h"

namespace {

class AppDemoPilotTest : public ::testing::Test {
protected:
    void SetUp() override { Resize(1280, 1000); }

    void Resize(int width, int height) {
        view_.OnSize(0, width, height);
        for (int k = 0; k < kTiles; ++k) {
            view_.m_nTargetX[k] = 0;
            view_.m_nTargetSpeed[k] = 1;
        }
        for (int j = 0; j < kShots; ++j) {
            view_.m_bShotActive[j] = 0;
            view_.m_nShotX[j] = -100;
        }
    }
    void Ask(const char* digits, int index = 0) {
        view_.m_nDigitCount = 0;
        for (const char* d = digits; *d; ++d) view_.m_strDigit[view_.m_nDigitCount++] = *d;
        view_.m_nDigitIndex = index;
        view_.m_nQuizMode = kQuizWordProblems;  // the table is the question's, as a frame leaves it
        view_.m_nWordAnswer = std::atoi(digits);
        view_.m_strAnswer = std::string(digits);
    }
    DemoMove Fly() {
        const DemoMove move = PlanDemoMove(view_);
        view_.OnMouseMove(0, move.pointerX, move.pointerY);
        if (move.fire) view_.OnLButtonDown(1, move.pointerX, move.pointerY);
        return move;
    }
    int Half() const { return (view_.m_nViewHeight - 100) / 24; }
    int Size() const { return (view_.m_nViewHeight - 100) / 12; }

    // Ticks until a missile is judged against a tile: the tile it hit, or -1 if the ship
    // was hit first or nothing was hit.
    int FlyUntilJudged(int maxTicks = 200) {
        const int n = Size(), h = Half();
        for (int tick = 0; tick < maxTicks; ++tick) {
            StepWorld(view_, random_, [](double x) { return std::sin(x); });
            for (int k = 0; k < kTiles; ++k) {
                const int x = view_.m_nTargetX[k], y = view_.m_nTargetY[k];
                for (int j = 0; j < kShots; ++j) {
                    const int sx = view_.m_nShotX[j], sy = view_.m_nShotY[j];
                    if (sx > x && std::abs(sx - x) < n && std::abs(sy - y - h + 24) < h) return k;
                }
                if (std::abs(view_.m_nShipX + 64 - x) < h &&
                    std::abs(view_.m_nShipY + 88 - (y + h)) < h)
                    return -1;
            }
        }
        return -1;
    }

    CFizmoView view_{nullptr};
    StdRandom random_;
};

TEST_F(AppDemoPilotTest, AimsTheMissilesJudgedPointAtTheCentreOfTheNextDigitsTile) {
    Ask("47", 1);
    view_.m_nTargetX[7] = 100;
    const DemoMove move = Fly();
    EXPECT_TRUE(move.fire);
    EXPECT_EQ(view_.m_nShipY + 65 + 24, view_.m_nTargetY[7] + Half());
    EXPECT_EQ(FlyUntilJudged(), 7);
}

TEST_F(AppDemoPilotTest, HitsEveryRowFromAnyStartingPlace) {
    for (int digit = 0; digit < kTiles; ++digit) {
        Resize(1280, 1000);
        Ask(std::to_string(digit).c_str());
        view_.m_nTargetX[digit] = 37 * digit;
        view_.m_nTargetSpeed[digit] = 1 + digit % 5;
        ASSERT_TRUE(Fly().fire) << digit;
        EXPECT_EQ(FlyUntilJudged(), digit) << digit;
    }
}

TEST_F(AppDemoPilotTest, FiresOneMissileAtATime) {
    Ask("3");
    view_.m_nTargetX[3] = 50;
    EXPECT_TRUE(Fly().fire);
    EXPECT_FALSE(Fly().fire);
}

TEST_F(AppDemoPilotTest, WaitsClearOfATileTooCloseToShoot) {
    Ask("5");
    EXPECT_TRUE(Fly().fire);  // places the ship
    for (int j = 0; j < kShots; ++j) view_.m_bShotActive[j] = 0;
    view_.m_nTargetX[5] = view_.m_nShipX + 60;  // past the muzzle, at the nose
    view_.m_nTargetSpeed[5] = 5;
    const DemoMove move = Fly();
    EXPECT_FALSE(move.fire);
    const int centre = view_.m_nTargetY[5] + Half();
    EXPECT_GE(std::abs(view_.m_nShipY + 88 - centre), Half());
    EXPECT_GE(std::abs(view_.m_nShipY + 88 - (view_.m_nTargetY[6] + Half())), Half());
}

TEST_F(AppDemoPilotTest, NeverAimsAtATileThatWrapsBeforeTheMissileMeetsIt) {
    Ask("6");
    view_.m_nTargetX[6] = view_.m_nViewWidth - 5;  // behind the ship, about to come round
    view_.m_nTargetSpeed[6] = 10;
    EXPECT_FALSE(Fly().fire) << "where it comes back is the game's next random number";
}

TEST_F(AppDemoPilotTest, InASmallWindowFiresOnlyWhenTheMissileCannotSkipPastTheTile) {
    Resize(640, 400);  // tiles 25 wide: a missile moves more than that per tick
    Ask("2");
    int shots = 0;
    for (int start = 0; start < 40; ++start) {
        Resize(640, 400);
        view_.m_nTargetX[2] = start;
        view_.m_nTargetSpeed[2] = 4;
        if (!Fly().fire) continue;
        ++shots;
        EXPECT_EQ(FlyUntilJudged(), 2) << start;
    }
    EXPECT_GT(shots, 0);
    EXPECT_LT(shots, 40);
}

TEST_F(AppDemoPilotTest, HoldsFireWithoutAQuestionAndNoticesTheEndOfAGame) {
    Ask("");
    EXPECT_FALSE(Fly().fire);
    Ask("12", 2);  // every digit already entered
    EXPECT_FALSE(Fly().fire);
    Ask("3");
    view_.m_nTargetX[3] = 50;
    view_.m_nWordAnswer = 4;  // a new question, which the table shows only after a frame
    EXPECT_FALSE(Fly().fire);
    EXPECT_FALSE(DemoGameEnded(view_));
    view_.m_bGameOver = 1;
    EXPECT_TRUE(DemoGameEnded(view_));
    view_.m_bGameOver = 0;
    view_.m_nStage = 7;
    EXPECT_TRUE(DemoGameEnded(view_));
}

}  // namespace

// The attract mode at 1920 x 1080 for `periods`, played as the program plays it on a busy
// machine, where the world now and then moves twice before a frame and the pilot may act
// between a move and its frame: the score never drops within a stage, as it would for a
// wrong tile. The stages cleared.
int PlayDemo(int quizMode, int periods) {
    PlayDriver driver(1920, 1040);
    CFizmoView& view = driver.view;
    const auto busy = [&] { return driver.window.timerRunning && !view.m_bStageClear; };
    driver.Start(quizMode);
    int stagesCleared = 0, stage = 1, score = 0;
    for (int period = 0; period < periods && driver.Period(); ++period) {
        if (view.m_nStage == stage) {
            EXPECT_GE(view.m_nScore, score) << "period " << period;
        }
        stagesCleared += view.m_nStage > stage;
        if (DemoGameEnded(view)) {
            ClearShots(view);  // as the demo starts its next game
            view.OnCommand(ID_START);
        }
        stage = view.m_nStage;
        score = view.m_nScore;
        if (period % 11 == 1 && busy()) view.OnTimer(kTimerId);  // the next frame comes late
        const DemoMove move = PlanDemoMove(view);
        view.OnMouseMove(0, move.pointerX, move.pointerY);
        if (move.fire) view.OnLButtonDown(1, move.pointerX, move.pointerY);
        if (period % 2 == 0 && busy()) view.OnTimer(kTimerId);  // a move the pilot did not see
    }
    return stagesCleared;
}

// Five minutes, and stages still get cleared.
TEST(AppDemoPilotPlay, FiveMinutesWithoutAWrongHit) {
    EXPECT_GE(PlayDemo(kQuizTimesTable, 3000), 3);
}

// Differences and quotients too: a minuend or dividend of two digits, an answer of one.
TEST(AppDemoPilotKinds, PlaysSubtractionsAndDivisionsWithoutAWrongHit) {
    for (int mode : {kQuizSubtraction, kQuizDivision}) EXPECT_GE(PlayDemo(mode, 700), 1) << mode;
}
