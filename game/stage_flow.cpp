// Stage clear, game over and the end of the word problems: each stops the music, plays a
// sound, holds the thread in a pause and shows one line in cyan, centred in the window.
#include <cstdio>

#include "game/fizmo_view.h"
#include "game/game_font.h"
#include "game/texts.h"
#include "game/tile_layout.h"
#include "res/resource_ids.h"
#include "sound/wave_sound.h"

namespace {

constexpr COLORREF kCyan = RGB(0, 255, 255);
constexpr unsigned kCentredLine = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

}  // namespace

void CFizmoView::WaitSeconds(int seconds) {
    // Whole-second clock: the pause lasts more than n - 1 and at most n seconds. A calendar
    // clock set back mid-pause must not hold the game: n seconds of a clock that never steps
    // back end it all the same.
    auto now = [this] { return m_pWnd ? m_pWnd->CalendarTime() : std::time(nullptr); };
    auto elapsedMs = [this, since = m_pWnd ? m_pWnd->MonotonicMilliseconds() : 0] {
        return m_pWnd ? m_pWnd->MonotonicMilliseconds() - since : 0;
    };
    m_timeStart = now();
    for (;;) {
        m_timeNow = now();
        if (m_timeNow - m_timeStart >= seconds) return;
        if (elapsedMs() >= seconds * 1000LL) return;
        if (m_pWnd) m_pWnd->SleepBriefly(seconds * 1000LL - elapsedMs());
    }
}

static void DrawEndLine(CFizmoView& view, Surface* dc, const char* text) {
    Font font;
    CreateGameFont(font, 60, view.m_strFontName);
    Font* oldFont = dc->SelectObject(&font);
    dc->SetTextColor(kCyan);  // the background stays black from the heads-up display
    RECT client = view.Window() ? view.Window()->GetClientRect() : RECT{};
    dc->DrawText(text, -1, &client, kCentredLine);
    dc->SelectObject(oldFont);
}

// Game over and problems done differ only in their sound and their text.
static void ShowEndOfPlay(CFizmoView& view, Surface* dc, WaveSound* sound, const char* text) {
    WaveSoundStop(view.m_pSndBgm);
    WaveSoundPlay(sound, 0);
    view.WaitSeconds(4);
    DrawEndLine(view, dc, text);
    view.CloseProblemFile();
}

void CFizmoView::DrawEndOfPlayLine(Surface* dc) {
    if (m_bGameOver) DrawEndLine(*this, dc, texts::kGameOver);
    if (m_bProblemsDone) DrawEndLine(*this, dc, texts::kProblemsDone);
}

void CFizmoView::ShowGameOver(Surface* dc) {
    EndQuestionRecord(QuestionEnd::kGameOver);
    ShowEndOfPlay(*this, dc, m_pSndBomb, texts::kGameOver);
}

void CFizmoView::ShowProblemsDone(Surface* dc) {
    if (m_pProblemFile) EndQuestionRecord(QuestionEnd::kFileDone);  // the file closes below
    ShowEndOfPlay(*this, dc, m_pSndClear, texts::kProblemsDone);
}

// Drawn straight onto the window: it must show for the whole pause that follows.
static void DrawOnWindow(CFizmoView& view, const char* text) {
    WindowServices* wnd = view.Window();
    Surface* window = wnd ? wnd->GetDC() : nullptr;
    if (!window) return;
    Font font;
    CreateGameFont(font, 40, view.m_strFontName);
    Font* oldFont = window->SelectObject(&font);
    window->SetTextColor(kCyan);
    window->SetBkColor(RGB(0, 0, 0));
    RECT client = wnd->GetClientRect();
    window->DrawText(text, -1, &client, kCentredLine);
    window->SelectObject(oldFont);
    wnd->ReleaseDC(window);
}

void CFizmoView::ShowStageClear() {
    m_question.open = false;  // asked as the stage ended, and replaced before it was seen
    WaveSoundStop(m_pSndBgm);
    WaveSoundStop(m_pSndBomb);
    if (m_nStage < 6) {
        char line[32];
        std::snprintf(line, sizeof line, texts::kStageClearFormat, m_nStage);
        DrawOnWindow(*this, line);
    } else {
        if (m_pWnd) m_pWnd->KillTimer(kTimerId);
        DrawOnWindow(*this, texts::kAllStagesClear);
    }
    m_nStage += 1;
    WaveSoundStop(m_pSndBgm);
    WaitSeconds(3);
    WaveSoundPlay(m_pSndClear, 0);
    WaitSeconds(6);
    RestartTiles(*this, m_nStage < 4 ? SpeedRule::kLow : SpeedRule::kHigh);
    if (m_nStage < 7) SetUpStage();
}

void CFizmoView::SetUpStage() {
    ResetPlayfield(*this);
    WaveSoundPlay(m_pSndBgm, DSBPLAY_LOOPING);
    for (int k = 0; k < kTiles; ++k) {
        const int step = m_nStage == 5 ? 2 : 1;
        const bool bounces = m_nStage == 2 || m_nStage == 5;
        m_nTargetDY[k] = bounces && k % 2 == 0 ? -step : step;
    }
    LayOutRows(*this);
    switch (m_nStage) {
        case 2:
        case 5:
            m_pBackground->LoadBitmap(IDB_MEADOW);
            break;
        case 3:
        case 6:
            m_pBackground->LoadBitmap(IDB_SKY);
            break;
        case 4:
            m_pBackground->LoadBitmap(IDB_STAR_FIELD);
            break;
        default:
            break;
    }
    NextQuestion();
}
