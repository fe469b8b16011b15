#pragma once
// What became of each question, for the child's records or a grown-up's results sheet. The
// game fills the rows; where they are kept is the program's business.

#include <cstdint>
#include <ctime>
#include <string>

#include "platform/text_encoding.h"

// kSkipped: the space bar changed the question before it was answered.
enum class QuestionEnd { kAnswered, kGameOver, kStopped, kFileDone, kSkipped };

struct QuestionResult {
    std::time_t when = 0;
    int quizMode = 0;  // kQuizTimesTable, kQuizAddition or kQuizWordProblems
    int speedLow = 0;  // the level, by its low bound as the menu tells it
    int stage = 0;
    std::string question;  // as shown, in `encoding`; empty on the row that ends a file
    TextEncoding encoding = TextEncoding::ShiftJis;
    std::string answer;
    std::string entered;  // the digits hit in order
    int wrongHits = 0;
    double seconds = 0;
    QuestionEnd end = QuestionEnd::kAnswered;
    std::string problemFile;  // word problems: the file's name, in the file system's encoding
};

class QuestionLog {
public:
    virtual ~QuestionLog() = default;
    virtual void Record(const QuestionResult& result) = 0;
};

// The question on the screen, from when it is asked until it ends.
struct OpenQuestion {
    bool open = false;
    std::int64_t startMs = 0;
    std::string entered;
    int wrongHits = 0;
};
