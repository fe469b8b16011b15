// The question read aloud as it appears, and again when the child asks.
#include "game/fizmo_view.h"

void CFizmoView::SayQuestion() {
    if (!m_pSpeech) return;
    SpokenQuestion question;
    question.quizMode = m_nQuizMode;
    question.operands = {m_nOperandA, m_nOperandB};
    if (m_nQuizMode == kQuizWordProblems) {
        question.text = ProblemText();
        question.encoding = m_eProblemEncoding;
        question.problemFile = m_strProblemFile;
    }
    m_pSpeech->Say(question);
}

void CFizmoView::HushQuestion() {
    if (m_pSpeech) m_pSpeech->Hush();
}
