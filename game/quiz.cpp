// Questions and the heads-up display: the operands or the next word problem, the digit
// table that hits are judged against, and the text drawn over each frame.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "game/fizmo_view.h"
#include "game/game_font.h"
#include "game/problem_reader.h"
#include "game/texts.h"

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kQuestionColor = RGB(255, 200, 0);
constexpr COLORREF kScoreColor = RGB(255, 0, 0);

std::string FormatQuestion(const char* format, int a, int b, const std::string& entered) {
    const int length = std::snprintf(nullptr, 0, format, a, b, entered.c_str());
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    std::snprintf(text.data(), text.size() + 1, format, a, b, entered.c_str());
    return text;
}

std::string FormatNumber(const char* format, int value) {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

void DrawBytes(Surface* dc, int x, int y, const std::string& bytes) {
    dc->TextOut(x, y, bytes.data(), static_cast<int>(bytes.size()));
}

void DrawBytes(Surface* dc, int x, int y, const char* bytes,
               TextEncoding encoding = TextEncoding::ShiftJis) {
    dc->TextOut(x, y, bytes, static_cast<int>(std::strlen(bytes)), encoding);
}

void SplitAnswer(CFizmoView& view, int answer) {
    view.m_strAnswer = FormatNumber("%d", answer);
    // Entries past the new length keep their old digits; the count says how many are live.
    // Hits index the table up to the count, so it never passes the table's size.
    const int length = std::min(static_cast<int>(view.m_strAnswer.size()), kTiles);
    for (int i = 0; i < length; ++i)
        view.m_strDigit[i] = view.m_strAnswer.substr(static_cast<std::size_t>(i), 1);
    view.m_nDigitCount = length;
}

void DrawQuestionHud(CFizmoView& view, Surface* dc) {
    Font font;
    CreateGameFont(font, 50, view.m_strFontName);
    Font* kept = dc->SelectObject(&font);
    dc->SetBkColor(kBlack);
    dc->SetTextColor(kQuestionColor);
    DrawBytes(dc, view.m_nViewWidth / 3, 0, view.m_strQuestion);
    dc->SetTextColor(kScoreColor);
    DrawBytes(dc, 0, 0, FormatNumber(texts::kScoreFormat, view.m_nScore));
    dc->SelectObject(kept);
}

void DrawWordProblemHud(CFizmoView& view, Surface* dc) {
    Font lineFont;
    CreateGameFont(lineFont, 20, view.m_strFontName);
    Font* kept = dc->SelectObject(&lineFont);
    dc->SetBkColor(kBlack);
    dc->SetTextColor(kQuestionColor);
    // Each line goes out whole, its line feed included.
    for (int line = 0; line < 3; ++line)
        DrawBytes(dc, view.m_nViewWidth / 5, line * 20, view.m_szProblemLine[line],
                  view.m_eProblemEncoding);
    Font scoreFont;
    CreateGameFont(scoreFont, 30, view.m_strFontName);
    dc->SelectObject(&scoreFont);
    dc->SetTextColor(kScoreColor);
    DrawBytes(dc, 0, 0, FormatNumber(texts::kScoreFormat, view.m_nScore));
    dc->SelectObject(kept);
}

}  // namespace

void CFizmoView::NextQuestion() {
    if (Kind()) {
        ChooseOperands();
        m_nDigitIndex = 0;
        m_strEntered.clear();
    }
    if (m_nQuizMode == kQuizWordProblems) {
        if (problem_reader::ReadProblem(m_pProblemFile, m_szProblemLine, &m_nWordAnswer))
            m_eProblemEncoding = m_eProblemFileEncoding;
        else
            m_bProblemsDone = 1;
        // The entered digits are not shown here; the next times-table question clears them.
        m_nDigitIndex = 0;
    }
    if (m_bProblemsDone) return;
    BeginQuestionRecord();
    SayQuestion();
}

// The space bar draws operands behind a word problem too, where practice has no say.
void CFizmoView::ChooseOperands() {
    const FactKind* kind = Kind();
    const Operands next = !kind        ? DrawOperands(Rng())
                          : m_pChooser ? m_pChooser->Next(m_nQuizMode, Rng())
                                       : kind->draw(Rng());
    m_nOperandA = next.a;
    m_nOperandB = next.b;
}

void CFizmoView::DrawHud(Surface* dc) {
    if (const FactKind* kind = Kind()) {
        SplitAnswer(*this, kind->answer({m_nOperandA, m_nOperandB}));
        m_strQuestion = FormatQuestion(kind->format, m_nOperandA, m_nOperandB, m_strEntered);
        if (dc) DrawQuestionHud(*this, dc);
    } else if (m_nQuizMode == kQuizWordProblems) {
        SplitAnswer(*this, m_nWordAnswer);
        if (dc) DrawWordProblemHud(*this, dc);
    }
}
