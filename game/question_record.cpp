// Each question's row for the records from when it is asked until it is answered,
// lost to a game over or stopped, and the end of a word-problem file.
#include <cstdio>
#include <cstring>

#include "game/fizmo_view.h"
#include "game/problem_reader.h"

namespace {

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \r\n");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \r\n") - first + 1);
}

std::string OperandQuestion(const CFizmoView& v) {
    char text[64];
    std::snprintf(text, sizeof text, v.Kind()->format, v.m_nOperandA, v.m_nOperandB, "");
    return Trimmed(text);
}

int Answer(const CFizmoView& v) {
    const FactKind* kind = v.Kind();
    return kind ? kind->answer({v.m_nOperandA, v.m_nOperandB}) : v.m_nWordAnswer;
}

// Practice hears how each fact went; a question stopped before any hit says nothing of it.
void TellChooser(const CFizmoView& v, const OpenQuestion& question, QuestionEnd end) {
    if (!v.m_pChooser || !v.Kind() || !question.open) return;
    const bool missed =
        question.wrongHits > 0 || end == QuestionEnd::kGameOver || end == QuestionEnd::kSkipped;
    if (missed || end == QuestionEnd::kAnswered)
        v.m_pChooser->Ended(v.m_nQuizMode, {v.m_nOperandA, v.m_nOperandB}, missed);
}

}  // namespace

// The problem's lines as one line, as a spreadsheet cell shows it best.
std::string CFizmoView::ProblemText() const {
    return problem_reader::JoinedLines(m_szProblemLine);
}

std::int64_t CFizmoView::NowMs() const {
    return m_pWnd ? m_pWnd->MonotonicMilliseconds() : 0;
}

void CFizmoView::BeginQuestionRecord() {
    m_question = OpenQuestion{true, NowMs(), {}, 0};
}

void CFizmoView::EndQuestionRecord(QuestionEnd end) {
    const bool endOfFile = end == QuestionEnd::kFileDone;
    if (!m_question.open && !endOfFile) return;
    const OpenQuestion question = m_question;
    m_question.open = false;
    TellChooser(*this, question, end);
    if (end != QuestionEnd::kAnswered && end != QuestionEnd::kSkipped) HushQuestion();
    if (!m_pQuestionLog) return;
    QuestionResult row;
    row.when = m_pWnd ? m_pWnd->CalendarTime() : std::time(nullptr);
    row.quizMode = m_nQuizMode;
    row.speedLow = m_nSpeedLow;
    row.stage = m_nStage;
    row.end = end;
    if (!endOfFile) {
        const bool word = m_nQuizMode == kQuizWordProblems;
        row.question = word ? ProblemText() : OperandQuestion(*this);
        row.encoding = word ? m_eProblemEncoding : TextEncoding::ShiftJis;
        row.answer = std::to_string(Answer(*this));
        row.entered = question.entered;
        row.wrongHits = question.wrongHits;
        row.seconds = static_cast<double>(NowMs() - question.startMs) / 1000.0;
    }
    if (m_nQuizMode == kQuizWordProblems) row.problemFile = m_strProblemFile;
    m_pQuestionLog->Record(row);
}
