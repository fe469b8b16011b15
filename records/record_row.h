#pragma once
// One question's row of a sheet: written as the game hands it over, read back for the
// records window, the teacher's page and the practice of weak facts.

#include <optional>
#include <string>
#include <string_view>

#include "game/question_log.h"

// The header line, without the byte-order mark and the line end.
std::string RecordHeader();
// Whether a line (UTF-8, without its line end) is a sheet's header, of this or an older form.
bool IsRecordHeader(std::string_view line);
// A question's row as the sheet holds it, without its line end: UTF-8, whatever the
// question's encoding.
std::string RecordRowText(const QuestionResult& result);

// A row as read back. A row of a FactKind carries its operands, as shown.
struct RecordRow {
    std::string when;  // "YYYY-MM-DD HH:MM:SS", local time: sorts as it reads
    int quizMode = 0;  // a FactKind's, or kQuizWordProblems
    int speedLow = 0;
    int stage = 0;
    std::string question;  // UTF-8, as the sheet holds it (a formula guard's apostrophe removed)
    std::string answer;
    std::string entered;
    int wrongHits = 0;
    double seconds = 0;
    QuestionEnd end = QuestionEnd::kAnswered;
    std::string problemFile;  // word problems only; empty in rows written before it was kept
    int operandA = -1, operandB = -1;

    std::string Day() const { return when.substr(0, 10); }
    bool HasFact() const { return operandA >= 0 && operandB >= 0; }
};

// The row on one line of a sheet (UTF-8, without its line end); nothing for the header, a
// blank line or a line that is not a whole row.
std::optional<RecordRow> ParseRecordRow(std::string_view line);
