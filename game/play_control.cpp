// Start, Stop, the quiz-kind and level commands, and the routing of menu commands.
#include "game/fizmo_view.h"
#include "game/tile_layout.h"
#include "res/resource_ids.h"
#include "sound/wave_sound.h"

void CFizmoView::OnStart() {
    EndQuestionRecord(QuestionEnd::kStopped);
    if (m_pWnd) m_pWnd->SetTimer(kTimerId, kTimerPeriodMs);
    ResetPlayfield(*this);
    m_nStage = 1;
    m_bGameOver = 0;
    m_bProblemsDone = 0;
    m_pBackground->LoadBitmap(IDB_STAR_FIELD);
    WaveSoundPlay(m_pSndBgm, DSBPLAY_LOOPING);
    if (m_nQuizMode == kQuizWordProblems)
        OpenProblemFile();  // word problems begin again at the first
    LayOutRows(*this);
    RestartTiles(*this, SpeedRule::kLow);
    if (m_pChooser) m_pChooser->Begin();
    NextQuestion();
}

void CFizmoView::OnStop() {
    EndQuestionRecord(QuestionEnd::kStopped);
    if (m_pWnd) m_pWnd->KillTimer(kTimerId);
    WaveSoundStop(m_pSndBgm);
}

void CFizmoView::ReturnToLaunchState() {
    OnStop();
    // Open at its first problem, as a launch leaves it; the launch already said if it cannot be.
    OpenProblemFileQuietly();
    ResetPlayfield(*this);
    m_nStage = 1;
    m_bGameOver = 0;
    m_bProblemsDone = 0;
    for (int& dy : m_nTargetDY) dy = 0;
    ClearShots(*this);
    m_nDigitIndex = 0;
    m_strEntered.clear();
    m_pBackground->LoadBitmap(IDB_STAR_FIELD);
    LayOutRows(*this);
    RestartTiles(*this, SpeedRule::kLow);
    if (m_pWnd) m_pWnd->InvalidateRect(m_pWnd->GetClientRect(), false);
}

void CFizmoView::OnModeTimesTable() {
    m_nQuizMode = kQuizTimesTable;
}
void CFizmoView::OnModeAddition() {
    m_nQuizMode = kQuizAddition;
}
void CFizmoView::OnModeWordProblems() {
    m_nQuizMode = kQuizWordProblems;
}
void CFizmoView::OnModeSubtraction() {
    m_nQuizMode = kQuizSubtraction;
}
void CFizmoView::OnModeDivision() {
    m_nQuizMode = kQuizDivision;
}

void CFizmoView::OnLevelEasy() {
    m_nSpeedLow = 5;
    m_nSpeedHigh = 10;
}

void CFizmoView::OnLevelNormal() {
    m_nSpeedLow = 10;
    m_nSpeedHigh = 20;
}

void CFizmoView::OnLevelHard() {
    m_nSpeedLow = 30;
    m_nSpeedHigh = 40;
}

// A level is recognised by its low bound alone.
void CFizmoView::OnUpdateModeTimesTable(CmdUI* ui) {
    ui->SetCheck(m_nQuizMode == kQuizTimesTable);
}
void CFizmoView::OnUpdateModeAddition(CmdUI* ui) {
    ui->SetCheck(m_nQuizMode == kQuizAddition);
}
void CFizmoView::OnUpdateModeWordProblems(CmdUI* ui) {
    ui->SetCheck(m_nQuizMode == kQuizWordProblems);
}
void CFizmoView::OnUpdateModeSubtraction(CmdUI* ui) {
    ui->SetCheck(m_nQuizMode == kQuizSubtraction);
}
void CFizmoView::OnUpdateModeDivision(CmdUI* ui) {
    ui->SetCheck(m_nQuizMode == kQuizDivision);
}
void CFizmoView::OnUpdateLevelEasy(CmdUI* ui) {
    ui->SetCheck(m_nSpeedLow == 5);
}
void CFizmoView::OnUpdateLevelNormal(CmdUI* ui) {
    ui->SetCheck(m_nSpeedLow == 10);
}
void CFizmoView::OnUpdateLevelHard(CmdUI* ui) {
    ui->SetCheck(m_nSpeedLow == 30);
}

bool CFizmoView::OnCommand(unsigned id) {
    switch (id) {
        case ID_START:
            OnStart();
            return true;
        case ID_STOP:
            OnStop();
            return true;
        case ID_MODE_TIMES_TABLE:
            OnModeTimesTable();
            return true;
        case ID_MODE_ADDITION:
            OnModeAddition();
            return true;
        case ID_MODE_WORD_PROBLEMS:
            OnModeWordProblems();
            return true;
        case ID_MODE_SUBTRACTION:
            OnModeSubtraction();
            return true;
        case ID_MODE_DIVISION:
            OnModeDivision();
            return true;
        case ID_LEVEL_EASY:
            OnLevelEasy();
            return true;
        case ID_LEVEL_NORMAL:
            OnLevelNormal();
            return true;
        case ID_LEVEL_HARD:
            OnLevelHard();
            return true;
        case ID_CHANGE_PROBLEM_FILE:
            OnChangeProblemFile();
            return true;
        default:
            return false;
    }
}

bool CFizmoView::OnUpdateCommandUI(unsigned id, CmdUI* ui) {
    switch (id) {
        case ID_MODE_TIMES_TABLE:
            OnUpdateModeTimesTable(ui);
            return true;
        case ID_MODE_ADDITION:
            OnUpdateModeAddition(ui);
            return true;
        case ID_MODE_WORD_PROBLEMS:
            OnUpdateModeWordProblems(ui);
            return true;
        case ID_MODE_SUBTRACTION:
            OnUpdateModeSubtraction(ui);
            return true;
        case ID_MODE_DIVISION:
            OnUpdateModeDivision(ui);
            return true;
        case ID_LEVEL_EASY:
            OnUpdateLevelEasy(ui);
            return true;
        case ID_LEVEL_NORMAL:
            OnUpdateLevelNormal(ui);
            return true;
        case ID_LEVEL_HARD:
            OnUpdateLevelHard(ui);
            return true;
        case ID_START:
        case ID_STOP:
        case ID_CHANGE_PROBLEM_FILE:
            return true;  // always enabled, never checked
        default:
            return false;
    }
}
