#include "game/fizmo_view.h"

#include <cstring>

#include "game/texts.h"
#include "game/tile_layout.h"

int g_nNextShot = 0;

CFizmoView::CFizmoView(WindowServices* window, Random* random)
    : m_pWnd(window), m_pRandom(random ? random : &m_stdRandom) {
    m_pSrcDC = std::make_unique<Surface>();
    m_pBackDC = std::make_unique<Surface>();
    for (auto* bitmap :
         {&m_pBackBitmap, &m_pShipBitmap, &m_pShipMask, &m_pBackground, &m_pMissileBitmap,
          &m_pMissileMask, &m_pCorrectMark, &m_pWrongMark, &m_pExplosionBitmap, &m_pExplosionMask})
        *bitmap = std::make_unique<Bitmap>();
    for (auto& digit : m_pDigitBitmap) digit = std::make_unique<Bitmap>();
    m_strFontName = texts::kFontName;

    m_nScrollX = 640;
    m_nScrollSpeed = 20;
    m_nSpeedLow = 5;
    m_nSpeedHigh = 10;
    ClearShots(*this);
    // Drawn before seeding, so these first speeds are the same on every run.
    RestartTiles(*this, SpeedRule::kLow);
    Rng().Seed(static_cast<unsigned>(std::time(nullptr)));
    m_nOperandA = Rng().Rand() % 10;
    m_nDigitIndex = 0;
    m_nOperandB = Rng().Rand() % 10;
    m_strEntered.clear();
    ResetPlayfield(*this);
    m_bGameOver = 0;
    m_bProblemsDone = 0;
    m_nStage = 1;
    m_nQuizMode = kQuizTimesTable;
    m_strProblemFile = "Mondai.dat";

    std::memset(m_szProblemLine, 0, sizeof m_szProblemLine);
    m_nWordAnswer = 0;
    m_nDigitCount = 0;
    m_pProblemFile = nullptr;
}
