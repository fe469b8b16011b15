#include "game/judging.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_window.h"
#include "game/fizmo_view.h"

namespace {

struct Recorder : JudgeOutput {
    struct Mark {
        bool right;
        int x, y, size;
    };
    void DrawMark(bool right, int x, int y, int size) override {
        marks.push_back({right, x, y, size});
    }
    void DrawExplosion(int x, int y) override { explosions.push_back({x, y}); }
    void Play(Cue cue) override { cues.push_back(cue); }

    std::vector<Mark> marks;
    std::vector<std::pair<int, int>> explosions;
    std::vector<Cue> cues;
};

// H = 484: n = 32, h = 16. Tiles stand far right and the ship far away unless a test moves them.
class Judging : public ::testing::Test {
protected:
    Judging() : view(&window, &random) {
        view.OnSize(0, 640, 484);
        for (int k = 0; k < kTiles; ++k) view.m_nTargetX[k] = 5000 + 100 * k;
        view.m_nShipX = view.m_nShipY = 20000;
        random.fallback = -1;  // from here on only NextQuestion may draw
    }
    void Answer(const std::string& digits) {
        for (std::size_t i = 0; i < digits.size(); ++i) view.m_strDigit[i] = digits.substr(i, 1);
        view.m_nDigitCount = static_cast<int>(digits.size());
        view.m_nDigitIndex = 0;
        view.m_strEntered.clear();
    }
    // Puts missile j where it hits tile k's middle.
    void Aim(int j, int k) {
        view.m_bShotActive[j] = 1;
        view.m_nShotX[j] = view.m_nTargetX[k] + 16;
        view.m_nShotY[j] = view.m_nTargetY[k] + 16 - 24;
    }
    void Hits() { RunHitPass(view, out); }
    void Touches() { RunCollisionPass(view, out); }

    FakeWindow window{640, 484};
    ScriptedRandom random{1};  // construction draws speeds and operands
    CFizmoView view;
    Recorder out;
};

TEST_F(Judging, HitWindowIsStrictOnEverySide) {
    Answer("4");  // every hit is wrong, so no new question is drawn
    for (int sx = 95; sx <= 138; ++sx) {
        for (int sy = 170; sy <= 214; ++sy) {
            view.m_nTargetX[5] = 100;
            view.m_nTargetY[5] = 200;
            view.m_nShotX[3] = sx;
            view.m_nShotY[3] = sy;
            out.marks.clear();
            Hits();
            const bool inside = sx >= 101 && sx <= 131 && sy >= 177 && sy <= 207;
            ASSERT_EQ(out.marks.size(), inside ? 1u : 0u) << "missile at " << sx << ", " << sy;
        }
    }
}

TEST_F(Judging, TouchWindowIsStrictOnEverySide) {
    view.m_nShipX = 500;
    view.m_nShipY = 300;
    for (int x = 540; x <= 590; ++x) {
        for (int y = 350; y <= 395; ++y) {
            view.m_nTargetX[4] = x;
            view.m_nTargetY[4] = y;
            out.explosions.clear();
            view.m_bGameOver = 0;
            Touches();
            const bool inside = x >= 549 && x <= 579 && y >= 357 && y <= 387;
            ASSERT_EQ(out.explosions.size(), inside ? 1u : 0u) << "tile at " << x << ", " << y;
            ASSERT_EQ(view.m_bGameOver, inside ? 1 : 0);
        }
    }
    EXPECT_TRUE(out.cues.empty()) << "the game-over sequence plays the bomb, not the pass";
}

TEST_F(Judging, BelowHeight124NothingHitsOrTouches) {
    Answer("0");
    for (int height : {0, 50, 100, 111, 112, 123}) {
        view.OnSize(0, 640, height);
        view.m_nShipX = 0;
        view.m_nShipY = 0;
        for (int x = -3; x <= 80; ++x) {
            for (int dy = -30; dy <= 30; ++dy) {
                view.m_nTargetX[0] = 0;
                view.m_nTargetY[0] = 50;
                view.m_nShotX[0] = x;
                view.m_nShotY[0] = 50 + dy;
                Hits();
                view.m_nTargetX[0] = x;
                view.m_nTargetY[0] = 88 + dy;
                Touches();
            }
        }
        EXPECT_TRUE(out.marks.empty()) << "H " << height;
        EXPECT_TRUE(out.explosions.empty()) << "H " << height;
    }
    view.OnSize(0, 640, 124);  // n = 2, h = 1: exactly one row of points hits
    view.m_nTargetX[0] = 0;
    view.m_nShotX[0] = 1;
    view.m_nShotY[0] = view.m_nTargetY[0] + 1 - 24;
    random.values = {0, 0};
    Hits();
    EXPECT_EQ(out.marks.size(), 1u);
}

TEST_F(Judging, RightDigitsInOrderCompleteTheQuestionAtOnce) {
    // Word problems with no file: the next question keeps the entered text and ends the run.
    view.m_nQuizMode = 3;
    Answer("12");
    view.m_nScore = 30;
    view.m_nTargetX[1] = 200;
    Aim(0, 1);
    Hits();
    EXPECT_EQ(view.m_strEntered, "1");
    EXPECT_EQ(view.m_nDigitIndex, 1);
    EXPECT_EQ(view.m_nScore, 40);
    ASSERT_EQ(out.marks.size(), 1u);
    EXPECT_TRUE(out.marks[0].right);
    EXPECT_EQ(out.marks[0].x, 200) << "drawn where the tile stood before it went back";
    EXPECT_EQ(out.marks[0].size, 64);
    EXPECT_EQ(view.m_nTargetX[1], 0);
    EXPECT_EQ(view.m_nShotX[0], -100);
    EXPECT_EQ(view.m_bShotActive[0], 0);
    EXPECT_EQ(view.m_nShotY[0], view.m_nTargetY[1] - 8) << "y is kept when parked";

    view.m_nTargetX[2] = 300;
    Aim(1, 2);
    Hits();
    EXPECT_EQ(view.m_strEntered, "12");
    EXPECT_EQ(view.m_nScore, 50);
    EXPECT_EQ(view.m_nDigitIndex, 0) << "NextQuestion ran inside the pass";
    EXPECT_EQ(view.m_bProblemsDone, 1);
    EXPECT_EQ(out.cues, (std::vector<Cue>{Cue::kChime, Cue::kChime}));

    // Times tables: 2 before 1 is wrong.
    view.m_nQuizMode = 1;
    Answer("12");
    view.m_nTargetX[2] = 300;
    Aim(2, 2);
    Hits();
    EXPECT_EQ(view.m_nScore, 45);
    EXPECT_EQ(view.m_nDigitIndex, 0);
}

TEST_F(Judging, WrongDigitCostsFiveAndLeavesTheAnswerAlone) {
    Answer("12");
    view.m_nTargetX[2] = 300;
    Aim(6, 2);
    Hits();
    EXPECT_EQ(view.m_nScore, -5);
    EXPECT_EQ(view.m_nDigitIndex, 0);
    EXPECT_EQ(view.m_strEntered, "");
    ASSERT_EQ(out.marks.size(), 1u);
    EXPECT_FALSE(out.marks[0].right);
    EXPECT_EQ(out.marks[0].x, 300);
    EXPECT_EQ(out.marks[0].y, view.m_nTargetY[2]);
    EXPECT_EQ(view.m_nTargetX[2], 0);
    EXPECT_EQ(view.m_nShotX[6], -100);
    EXPECT_EQ(out.cues, std::vector<Cue>{Cue::kBuzzer});

    // A minus sign reads as 0; an empty entry too.
    Answer("-");
    view.m_nDigitCount = 2;
    view.m_strDigit[1] = "";
    view.m_nTargetX[0] = 100;
    Aim(7, 0);
    Hits();
    EXPECT_EQ(view.m_nDigitIndex, 1);
    view.m_nTargetX[0] = 100;
    Aim(8, 0);
    random.fallback = 0;
    Hits();
    EXPECT_EQ(view.m_nScore, 15);
}

TEST_F(Judging, TilesAreJudgedInTileOrderAndEachMissileOnce) {
    // The slot order is the opposite of the answer's: tile order decides.
    Answer("12");
    view.m_nTargetX[1] = 200;
    view.m_nTargetX[2] = 300;
    Aim(20, 2);
    Aim(3, 1);
    random.values = {4, 4};
    Hits();
    EXPECT_EQ(view.m_nScore, 20);
    EXPECT_EQ(out.marks.size(), 2u);

    // A missile over tiles 3 and 6 at once is judged against tile 3 only.
    Answer("6");
    out.marks.clear();
    view.m_nTargetX[3] = view.m_nTargetX[6] = 400;
    view.m_nTargetY[6] = view.m_nTargetY[3] + 4;
    Aim(9, 3);
    Hits();
    ASSERT_EQ(out.marks.size(), 1u);
    EXPECT_FALSE(out.marks[0].right);
    EXPECT_EQ(view.m_nTargetX[3], 0);
    EXPECT_EQ(view.m_nTargetX[6], 400);
}

TEST_F(Judging, InFlightFlagIsNotConsultedButParkedSlotsNeverHit) {
    Answer("4");
    view.m_nTargetX[4] = 0;
    for (int j = 0; j < kShots; ++j) view.m_nShotY[j] = view.m_nTargetY[4] - 8;  // right height
    Hits();
    EXPECT_TRUE(out.marks.empty()) << "parked at x -100";

    view.m_nTargetX[4] = 200;
    Aim(11, 4);
    view.m_bShotActive[11] = 0;
    random.values = {0, 0};
    Hits();
    EXPECT_EQ(out.marks.size(), 1u);
}

TEST_F(Judging, TileCanBeHitAgainAtTheLeftEdgeInTheSamePass) {
    Answer("55");
    view.m_nTargetX[5] = 250;
    Aim(0, 5);
    view.m_bShotActive[1] = 1;
    view.m_nShotX[1] = 10;  // between 0 and n once the tile is back at the edge
    view.m_nShotY[1] = view.m_nShotY[0];
    random.values = {3, 3};
    Hits();
    EXPECT_EQ(out.marks.size(), 2u);
    EXPECT_EQ(out.marks[1].x, 0);
    EXPECT_EQ(view.m_nScore, 20);
}

// After a question closes, the table still holds its digits until the heads-up display
// rebuilds it; judging against them pushed the index past the new answer for good.
TEST_F(Judging, AfterAQuestionClosesTheRestOfThePassJudgesNothing) {
    Answer("81");
    view.m_nDigitIndex = 1;
    view.m_strEntered = "8";
    view.m_nTargetX[1] = 200;
    view.m_nTargetX[8] = 300;
    view.m_nTargetX[9] = 400;
    Aim(0, 1);
    Aim(1, 8);  // the stale first digit: would have counted as right
    Aim(2, 9);  // would have counted as wrong
    random.values = {7, 0};
    Hits();
    EXPECT_EQ(view.m_nScore, 10);
    EXPECT_EQ(view.m_nDigitIndex, 0);
    EXPECT_EQ(out.marks.size(), 1u);
    EXPECT_EQ(out.cues, std::vector<Cue>{Cue::kChime});
    EXPECT_EQ(view.m_nShotX[1], 316) << "flies on";
    EXPECT_EQ(view.m_bShotActive[1], 1);
    EXPECT_EQ(view.m_nTargetX[8], 300);
    EXPECT_EQ(view.m_nTargetX[9], 400);

    // The rebuilt table (7 x 0 = 0) judges them in the next frame.
    Answer("0");
    Hits();
    EXPECT_EQ(view.m_nScore, 0);
    EXPECT_EQ(out.marks.size(), 3u);
    EXPECT_EQ(view.m_nDigitIndex, 0);
}

TEST_F(Judging, IndexBeyondTheTableRestartsTheAnswer) {
    // The quiz kind changed under a half-entered five-digit word answer.
    Answer("56");
    view.m_nDigitIndex = 3;
    view.m_strEntered = "123";
    view.m_nTargetX[5] = 200;
    Aim(0, 5);
    Hits();
    EXPECT_EQ(view.m_nDigitIndex, 1);
    EXPECT_EQ(view.m_strEntered, "5");
    EXPECT_EQ(view.m_nScore, 10);

    // No table yet (no frame drawn): a hit is left for the next frame.
    view.m_nDigitCount = 0;
    view.m_nDigitIndex = 0;
    view.m_nTargetX[3] = 200;
    Aim(1, 3);
    Hits();
    EXPECT_EQ(view.m_nScore, 10);
    EXPECT_EQ(view.m_bShotActive[1], 1);
}

TEST_F(Judging, TwoTilesOnTheShipExplodeTwiceAndStayPut) {
    view.m_nShipX = 500;
    view.m_nShipY = 300;
    view.m_nTargetX[2] = view.m_nTargetX[7] = 564;
    view.m_nTargetY[2] = view.m_nTargetY[7] = 372;
    Touches();
    EXPECT_EQ(out.explosions.size(), 2u);
    EXPECT_EQ(out.explosions[1], std::make_pair(500, 300));
    EXPECT_EQ(view.m_bGameOver, 1);
    EXPECT_EQ(view.m_nTargetX[2], 564);
    view.m_nTargetX[2] = view.m_nTargetX[7] = 0;
    Touches();
    EXPECT_EQ(view.m_bGameOver, 1) << "only Start clears it";
}

}  // namespace
