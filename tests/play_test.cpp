// Whole games played headless through ticks, paints and input.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "game/game_font.h"
#include "game/texts.h"
#include "play_driver.h"
#include "temp_folder.h"

namespace {

// What the window shows with `text` written over `before` as the stage-clear line.
QImage WithMessage(const QImage& before, const char* text, const CFizmoView& view) {
    QImage shown = before.copy();
    Surface surface;
    surface.AttachWindowImage(&shown);
    Font font;
    CreateGameFont(font, 40, view.m_strFontName);
    surface.SelectObject(&font);
    surface.SetTextColor(RGB(0, 255, 255));
    surface.SetBkColor(RGB(0, 0, 0));
    RECT client{0, 0, view.m_nViewWidth, view.m_nViewHeight};
    surface.DrawText(text, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    return shown;
}

// The driver begins every game with one frame, so the digit table is built.
void Begin(PlayDriver& play, int quizMode) {
    play.Start(quizMode);
    ASSERT_TRUE(play.Period());
}

TEST(Play, TimesTablesClearedThroughAllSixStages) {
    PlayDriver play(800, 600);
    Begin(play, 1);
    const int releasesBefore = play.window.windowSurfaceReleases;
    QImage beforeFirstClear;
    for (int shot = 0; shot < 600 && play.view.m_nStage <= 6; ++shot) {
        ASSERT_TRUE(play.AnswerDigit() || play.view.m_nStage == 7)
            << "shot " << shot << " stage " << play.view.m_nStage << " over "
            << play.view.m_bGameOver << " score " << play.view.m_nScore << " timer "
            << play.window.timerRunning;
        if (play.view.m_nStage == 1 && play.view.m_bStageClear)
            beforeFirstClear = play.window.Image().copy();
    }
    EXPECT_EQ(play.view.m_nStage, 7);
    EXPECT_EQ(play.view.m_bGameOver, 0);
    EXPECT_FALSE(play.window.timerRunning);
    EXPECT_EQ(play.view.m_bStageClear, 1) << "nothing sets up a seventh stage";
    ASSERT_EQ(play.window.windowSurfaceReleases - releasesBefore, 6);

    const auto& held = play.window.shownWhileHeld;
    EXPECT_TRUE(held.back() == WithMessage(play.lastShown, texts::kAllStagesClear, play.view));
    EXPECT_TRUE(held[held.size() - 6] == WithMessage(beforeFirstClear, "Clear Stage 1", play.view));

    // Nothing moves any more, and the tiles stay at the left edge.
    EXPECT_FALSE(play.Period());
    for (int k = 0; k < kTiles; ++k) EXPECT_EQ(play.view.m_nTargetX[k], 0);
}

TEST(Play, GameIsLostWhenATileReachesTheShip) {
    PlayDriver play(640, 484);
    Begin(play, 2);
    const int h = HalfTile(484);
    // The ship's nose 120 pixels ahead of tile 6, level with its middle.
    play.MoveShip(play.view.m_nTargetX[6] + 120 - 64, play.view.m_nTargetY[6] + h - 88);
    int periods = 0;
    while (!play.view.m_bGameOver && periods < 200) {
        ASSERT_TRUE(play.Period());
        ++periods;
    }
    ASSERT_EQ(play.view.m_bGameOver, 1);
    EXPECT_TRUE(play.window.timerRunning) << "one more tick before the sequence";

    const long long before = play.window.NowMs();
    EXPECT_TRUE(play.Period());
    EXPECT_FALSE(play.window.timerRunning);
    EXPECT_GT(play.window.NowMs() - before, 3000);
    EXPECT_EQ(play.view.m_pProblemFile, nullptr);
    EXPECT_FALSE(play.Period());

    // Uncovering the window runs the sequence again.
    const long long again = play.window.NowMs();
    play.view.OnPaint();
    EXPECT_GT(play.window.NowMs() - again, 3000);
}

TEST(Play, WordProblemsRunToTheEndOfTheFile) {
    const TempFolder dir;
    const auto path = dir / "problems.dat";
    std::ofstream(path) << "a\nb\nc\n12\nd\ne\nf\n7\n";
    PlayDriver play(640, 484);
    play.view.m_strProblemFile = path.string();
    const std::size_t messages = play.window.messages.size();
    Begin(play, 3);
    for (int shot = 0; shot < 20 && !play.view.m_bProblemsDone; ++shot)
        ASSERT_TRUE(play.AnswerDigit());
    EXPECT_EQ(play.view.m_bProblemsDone, 1);
    EXPECT_EQ(play.view.m_nScore, 30);
    EXPECT_TRUE(play.window.timerRunning);
    EXPECT_TRUE(play.Period());
    EXPECT_FALSE(play.window.timerRunning);
    EXPECT_EQ(play.view.m_nStage, 1);
    EXPECT_EQ(play.window.messages.size(), messages) << "the file opened";
}

TEST(Play, WrongHitsTakeTheScoreBelowZero) {
    PlayDriver play(640, 484);
    Begin(play, 1);
    ASSERT_TRUE(play.MissDigit());
    ASSERT_TRUE(play.MissDigit());
    EXPECT_EQ(play.view.m_nScore, -10);
    EXPECT_EQ(play.view.m_nDigitIndex, 0);
    EXPECT_EQ(play.view.m_strEntered, "");
    ASSERT_TRUE(play.AnswerDigit());
    EXPECT_EQ(play.view.m_nScore, 0);
}

// Written to the build folder to be looked at: background, ship, tiles, a mark, missiles and
// the heads-up text in the middle of play.
TEST(Play, MidPlayFrameIsSavedForInspection) {
    PlayDriver play(1280, 1024);
    Begin(play, 1);
    ASSERT_TRUE(play.AnswerDigit());
    ASSERT_TRUE(play.AnswerDigit());
    // Two missiles between rows 3 and 4 and rows 6 and 7: they meet no tile.
    const int pitch = (1024 - 100) / 10;
    for (int row : {3, 6}) {
        play.MoveShip(900, play.view.m_nTargetY[row] + HalfTile(1024) + pitch / 2 - 89);
        play.view.OnLButtonDown(0, 0, 0);
        ASSERT_TRUE(play.Period());
    }
    const int score = play.view.m_nScore;
    ASSERT_TRUE(play.AnswerDigit());
    EXPECT_EQ(play.view.m_nScore, score + 10);
    const QString file = QStringLiteral(FIZMO_BUILD_DIR "/frame_mid_play.png");
    EXPECT_TRUE(play.window.Image().save(file));
}

}  // namespace

// A player who takes over from the demo finds the problem file as a launch leaves it: open
// at its first problem, whenever word problems are chosen.
TEST(Play, AfterTheDemoTheWordProblemsBeginAsAfterALaunch) {
    const TempFolder dir;
    const auto path = dir / "handover.dat";
    std::ofstream(path) << "a\nb\nc\n12\n";
    PlayDriver play(640, 484);
    play.view.m_strProblemFile = path.string();
    play.view.OpenProblemFile();
    Begin(play, 1);
    play.view.ReturnToLaunchState();
    Begin(play, 1);
    play.view.OnCommand(ID_MODE_WORD_PROBLEMS);
    play.Period();  // the digit table follows the question in a frame
    ASSERT_TRUE(play.AnswerDigit());
    play.Period();
    EXPECT_EQ(play.view.m_bProblemsDone, 0);
    EXPECT_EQ(std::string(play.view.m_szProblemLine[0]), "a\n");
}
