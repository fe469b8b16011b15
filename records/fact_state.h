#pragma once
// What a child knows of one fact, from their last tries at it. The one place that decides
// it: the records window, the teacher's page and the practice of weak facts all ask here.

#include <optional>
#include <vector>

#include "game/practice.h"
#include "records/record_row.h"

enum class TryOutcome { kFluent, kSlow, kMissed };

// How long a fluent answer may take for each digit of the answer, steering and shooting
// included: the demo's pilot, which aims perfectly, waits for the right tile to come within
// reach for a median 3 to 5 s a digit, and 8 to 14 s in one answer of ten.
constexpr double kDefaultFluentSeconds = 10;
constexpr int kTriesThatCount = 3;

// What a row says of the child's try; nothing when the row is no try at the fact (a question
// stopped by a grown-up before any hit, the end of a problem file).
std::optional<TryOutcome> OutcomeOf(const RecordRow& row, double fluentSeconds);

// The state from the last tries, oldest first; only the last three count.
FactState StateOf(const std::vector<TryOutcome>& tries);
