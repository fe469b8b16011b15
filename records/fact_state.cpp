#include "records/fact_state.h"

#include <algorithm>

std::optional<TryOutcome> OutcomeOf(const RecordRow& row, double fluentSeconds) {
    switch (row.end) {
        case QuestionEnd::kAnswered:
            if (row.wrongHits > 0) return TryOutcome::kMissed;
            return row.seconds <= fluentSeconds * std::max<double>(1, row.answer.size())
                       ? TryOutcome::kFluent
                       : TryOutcome::kSlow;
        case QuestionEnd::kGameOver:
        case QuestionEnd::kSkipped:
            return TryOutcome::kMissed;
        case QuestionEnd::kStopped:
            // A grown-up stopped play; only a wrong hit before that says anything.
            if (row.wrongHits > 0) return TryOutcome::kMissed;
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

FactState StateOf(const std::vector<TryOutcome>& tries) {
    if (tries.empty()) return FactState::kNotYet;
    const auto from = tries.end() - std::min<std::ptrdiff_t>(tries.size(), kTriesThatCount);
    if (std::count(from, tries.end(), TryOutcome::kFluent) >= 2) return FactState::kKnown;
    if (std::count(from, tries.end(), TryOutcome::kMissed) >= 2) return FactState::kPractice;
    return FactState::kAlmost;
}
