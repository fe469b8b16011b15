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
    std::string name;                                // UTF-8, as the child's records are named
    KindStates states{};                             // each kind's grid, in the order of KindAt
    std::array<FactGrid<int>, kFactKinds> missed{};  // every miss ever, for the class page
    std::vector<SessionLine> sessions;               // the newest first, at most kSessionsShown
    std::vector<WordFileLine> wordFiles;             // by file name
    long rows = 0;
    SkippedRecords skipped;
};

// How many facts of a grid's row are できた, of how many the row counts: a 段 of 九九 or of
// わりざん counts × 1 to × 9, as practice by 段 asks it; the other kinds their whole row.
struct RowCount {
    int known = 0;
    int of = 0;
};
RowCount KnownInRow(const FactKind& kind, const FactGrid<FactState>& grid, int row);

// `rows` in any order; they are taken in the order they were played.
ChildSummary SummarizeChild(std::string name, std::vector<RecordRow> rows, double fluentSeconds,
                            SkippedRecords skipped = {});
