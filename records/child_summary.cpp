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

int KnownInRow(const FactGrid<FactState>& grid, int a) {
    return static_cast<int>(std::count(grid[a].begin(), grid[a].end(), FactState::kKnown));
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
    FactGrid<std::vector<TryOutcome>> timesTries, additionTries;
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
        const bool times = row.quizMode == kQuizTimesTable;
        auto& tries = (times ? timesTries : additionTries)[row.operandA][row.operandB];
        tries.push_back(*outcome);
        if (tries.size() > kTriesThatCount) tries.erase(tries.begin());
        if (*outcome == TryOutcome::kMissed)
            (times ? child.timesMissed : child.additionMissed)[row.operandA][row.operandB] += 1;
    }
    for (int a = 0; a < kOperands; ++a)
        for (int b = 0; b < kOperands; ++b) {
            child.times[a][b] = StateOf(timesTries[a][b]);
            child.addition[a][b] = StateOf(additionTries[a][b]);
        }
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
