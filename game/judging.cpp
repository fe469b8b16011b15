#include "game/judging.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "game/fizmo_view.h"

namespace {

constexpr int kParkedX = -100;
constexpr int kRightScore = 10;
constexpr int kWrongScore = 5;

bool DigitAwaited(const CFizmoView& v) {
    return v.m_nDigitIndex >= 0 && v.m_nDigitIndex < std::min(v.m_nDigitCount, kTiles);
}

// The table can fall behind the index only when the quiz kind changed under a half-entered
// answer; the question on the screen is then another one, so its answer starts afresh.
void RestartAnswerOutsideTable(CFizmoView& v) {
    if (v.m_nDigitCount <= 0 || DigitAwaited(v)) return;
    v.m_nDigitIndex = 0;
    v.m_strEntered.clear();
}

void ParkMissile(CFizmoView& v, int j) {
    v.m_bShotActive[j] = 0;
    v.m_nShotX[j] = kParkedX;
}

// Judges the hit of missile j on tile k; true when it completed the question.
bool JudgeHit(CFizmoView& v, int k, int j, int n, JudgeOutput& out) {
    const std::string& digit = v.m_strDigit[v.m_nDigitIndex];
    const bool right = k == std::atoi(digit.c_str());
    out.DrawMark(right, v.m_nTargetX[k], v.m_nTargetY[k], 2 * n);
    ParkMissile(v, j);
    v.m_nTargetX[k] = 0;
    if (!right) {
        out.Play(Cue::kBuzzer);
        v.m_nScore -= kWrongScore;
        v.m_question.wrongHits += 1;
        return false;
    }
    v.m_strEntered += digit;
    v.m_question.entered += digit;
    v.m_nDigitIndex += 1;
    out.Play(Cue::kChime);
    v.m_nScore += kRightScore;
    if (v.m_nDigitIndex != v.m_nDigitCount) return false;
    v.EndQuestionRecord(QuestionEnd::kAnswered);
    v.NextQuestion();
    return true;
}

}  // namespace

bool MissileHitsTile(int shotX, int shotY, int tileX, int tileY, int n, int h) {
    return shotX > tileX && std::abs(shotX - tileX) < n &&
           std::abs(shotY - tileY - h + kMissileMiddle) < h;
}

bool TileTouchesShip(int tileX, int tileY, int shipX, int shipY, int h) {
    return std::abs(shipX + kNoseX - tileX) < h && std::abs(shipY + kNoseY - (tileY + h)) < h;
}

void RunHitPass(CFizmoView& v, JudgeOutput& out) {
    RestartAnswerOutsideTable(v);
    const int n = TileSize(v.m_nViewHeight);
    const int h = n / 2;
    // Once a question closes, the digit table still holds its answer until the heads-up
    // display rebuilds it later in the frame: further hits of this pass fly on unjudged
    // and meet the new question in the next frame.
    bool questionOpen = true;
    for (int k = 0; k < kTiles; ++k) {
        for (int j = 0; j < kShots; ++j) {
            if (!MissileHitsTile(v.m_nShotX[j], v.m_nShotY[j], v.m_nTargetX[k], v.m_nTargetY[k], n,
                                 h))
                continue;
            if (!questionOpen || !DigitAwaited(v)) continue;
            if (JudgeHit(v, k, j, n, out)) questionOpen = false;
        }
    }
}

void RunCollisionPass(CFizmoView& v, JudgeOutput& out) {
    const int h = HalfTile(v.m_nViewHeight);
    for (int k = 0; k < kTiles; ++k) {
        if (!TileTouchesShip(v.m_nTargetX[k], v.m_nTargetY[k], v.m_nShipX, v.m_nShipY, h)) continue;
        out.DrawExplosion(v.m_nShipX, v.m_nShipY);
        v.m_bGameOver = 1;
    }
}
