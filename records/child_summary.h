#pragma once
// What the records window and the teacher's page show of one child, gathered from all of
// their rows (from every computer) in the order they were played. Plain C++: no Qt.

#include <array>
#include <string>
#include <vector>

#include "records/fact_state.h"
#include "records/record_row.h"
#include "records/skipped_records.h"

constexpr int kSessionsShown = 7;

// One day's play.
struct SessionLine {
    std::string day;  // YYYY-MM-DD
    int questions = 0;
    int firstTry = 0;  // right with no wrong hit
    double medianSeconds = 0;
};

// The word problems of one file.
struct WordFileLine {
    std::string file;  // its name, without the folder
    int questions = 0;
    int firstTry = 0;
};

struct ChildSummary {
    std::string name;  // UTF-8, as the child's records are named
    FactGrid<FactState> times{}, addition{};
    FactGrid<int> timesMissed{}, additionMissed{};  // every miss ever, for the class page
    std::vector<SessionLine> sessions;              // the newest first, at most kSessionsShown
    std::vector<WordFileLine> wordFiles;            // by file name
    long rows = 0;
    SkippedRecords skipped;
};

// How many facts of the 段 `a` (a × 0 … a × 9), or of the addend `a`, are できた.
int KnownInRow(const FactGrid<FactState>& grid, int a);

// `rows` in any order; they are taken in the order they were played.
ChildSummary SummarizeChild(std::string name, std::vector<RecordRow> rows, double fluentSeconds,
                            SkippedRecords skipped = {});
