#include "records/child_summary.h"

#include <algorithm>
#include <map>

#include "game/fizmo_view.h"

namespace {

struct DayTally {
    SessionLine line;
    std::vector<double> answeredSeconds;
};

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    if (values.size() % 2) return *middle;
    return (*middle + *std::max_element(values.begin(), middle)) / 2;
}

bool RightAtFirstTry(const RecordRow& row) {
    return row.end == QuestionEnd::kAnswered && row.wrongHits == 0;
}

}  // namespace

RowCount KnownInRow(const FactKind& kind, const FactGrid<FactState>& grid, int row) {
    RowCount count;
    for (int column = kind.tables ? 1 : 0; column < kOperands; ++column) {
        count.known += grid[row][column] == FactState::kKnown;
        ++count.of;
    }
    return count;
}

ChildSummary SummarizeChild(std::string name, std::vector<RecordRow> rows, double fluentSeconds,
                            SkippedRecords skipped) {
    ChildSummary child;
    child.name = std::move(name);
    child.rows = static_cast<long>(rows.size());
    child.skipped = std::move(skipped);
    // Rows from several computers interleave by when they were played; the text sorts so.
    std::stable_sort(rows.begin(), rows.end(),
                     [](const RecordRow& a, const RecordRow& b) { return a.when < b.when; });
    std::array<FactGrid<std::vector<TryOutcome>>, kFactKinds> tries;
    std::map<std::string, DayTally> days;
    std::map<std::string, WordFileLine> files;
    for (const RecordRow& row : rows) {
        if (row.end == QuestionEnd::kFileDone) continue;
        DayTally& day = days[row.Day()];
        day.line.questions += 1;
        day.line.firstTry += RightAtFirstTry(row);
        if (row.end == QuestionEnd::kAnswered) day.answeredSeconds.push_back(row.seconds);
        if (row.quizMode == kQuizWordProblems) {
            WordFileLine& file = files[row.problemFile];
            file.questions += 1;
            file.firstTry += RightAtFirstTry(row);
            continue;
        }
        const auto outcome = OutcomeOf(row, fluentSeconds);
        if (!row.HasFact() || !outcome) continue;
        const FactKind& kind = *KindOf(row.quizMode);
        const GridCell cell = kind.place({row.operandA, row.operandB});
        auto& kept = tries[kind.index][cell.row][cell.column];
        kept.push_back(*outcome);
        if (kept.size() > kTriesThatCount) kept.erase(kept.begin());
        if (*outcome == TryOutcome::kMissed) child.missed[kind.index][cell.row][cell.column] += 1;
    }
    for (int k = 0; k < kFactKinds; ++k)
        for (int r = 0; r < kOperands; ++r)
            for (int c = 0; c < kOperands; ++c) child.states[k][r][c] = StateOf(tries[k][r][c]);
    for (auto day = days.rbegin(); day != days.rend(); ++day) {
        if (static_cast<int>(child.sessions.size()) == kSessionsShown) break;
        day->second.line.day = day->first;
        day->second.line.medianSeconds = Median(std::move(day->second.answeredSeconds));
        child.sessions.push_back(day->second.line);
    }
    for (auto& [file, line] : files) {
        line.file = file;
        child.wordFiles.push_back(line);
    }
    return child;
}
