#include "game/practice.h"

#include <algorithm>

#include "game/fizmo_view.h"

namespace {

constexpr int kWeakShare = 4;    // one question in four is a fact not known yet
constexpr int kNewAtOnce = 4;    // never-asked facts taken up in one game
constexpr int kBackSoonest = 3;  // a missed fact comes back within 3 to 5 questions
constexpr int kBackLatest = 5;

int Kind(int quizMode) {
    return quizMode == kQuizAddition ? 1 : 0;
}

Operands Pick(const std::vector<Operands>& facts, Random& random) {
    return facts[static_cast<std::size_t>(random.Rand()) % facts.size()];
}

}  // namespace

Operands DrawOperands(Random& random) {
    Operands drawn;
    drawn.a = random.Rand() % 10;
    drawn.b = random.Rand() % 10;
    return drawn;
}

void PracticeChooser::SetStates(const FactGrid<FactState>& times,
                                const FactGrid<FactState>& addition, bool any) {
    states_[0] = times;
    states_[1] = addition;
    anyRecords_ = any;
}

void PracticeChooser::Begin() {
    step_ = 0;
    deck_.clear();
    due_.clear();
    missedNow_[0] = missedNow_[1] = {};
    newFacts_[0].clear();
    newFacts_[1].clear();
}

Operands PracticeChooser::Next(int quizMode, Random& random) {
    ++asked_;
    if (settings_.weak && anyRecords_) return NextWeak(quizMode, random);
    if (settings_.table > 0 && quizMode == kQuizTimesTable) return NextInTable(random);
    return DrawOperands(random);
}

void PracticeChooser::Ended(int quizMode, Operands fact, bool missed) {
    if (!missed) return;
    missedNow_[Kind(quizMode)][fact.a][fact.b] = true;
    // Asked again a few questions on, while it is still fresh.
    const long later = kBackSoonest + (asked_ + fact.a + fact.b) % (kBackLatest - kBackSoonest + 1);
    due_.push_back({asked_ + later, quizMode, fact});
}

// あがり 1 to 9, さがり 9 to 1, バラ each once in a shuffled order, then a new shuffle.
Operands PracticeChooser::NextInTable(Random& random) {
    int b = 0;
    if (settings_.order == TableOrder::kShuffle) {
        if (deck_.empty()) {
            for (int n = kLastTable; n >= 1; --n) deck_.push_back(n);
            for (std::size_t i = deck_.size() - 1; i > 0; --i)
                std::swap(deck_[i], deck_[static_cast<std::size_t>(random.Rand()) % (i + 1)]);
        }
        b = deck_.back();
        deck_.pop_back();
    } else {
        const int place = step_ % kLastTable;
        b = settings_.order == TableOrder::kUp ? place + 1 : kLastTable - place;
    }
    ++step_;
    return {settings_.table, b};
}

std::vector<Operands> PracticeChooser::Allowed(int quizMode) const {
    std::vector<Operands> facts;
    const bool table = settings_.table > 0 && quizMode == kQuizTimesTable;
    for (int a = 0; a < kOperands; ++a)
        for (int b = 0; b < kOperands; ++b)
            if (!table || (a == settings_.table && b >= 1)) facts.push_back({a, b});
    return facts;
}

// A missed fact as soon as it is due; else one question in four a fact not known yet (missed
// before or in this game, or one of the few never-asked facts taken up in this game), and
// the rest facts the child knows, those not yet fluent first, so that the child keeps
// succeeding. A weak fact stays weak for the whole game: the records say when it is できた.
Operands PracticeChooser::NextWeak(int quizMode, Random& random) {
    for (auto due = due_.begin(); due != due_.end(); ++due)
        if (due->quizMode == quizMode && due->question <= asked_) {
            const Operands fact = due->fact;
            due_.erase(due);
            return fact;
        }
    const int kind = Kind(quizMode);
    std::vector<Operands>& taken = newFacts_[kind];
    std::vector<Operands> weak, fresh, almost, known;
    for (const Operands& fact : Allowed(quizMode)) {
        const FactState state = states_[kind][fact.a][fact.b];
        const bool isTaken = std::find(taken.begin(), taken.end(), fact) != taken.end();
        if (missedNow_[kind][fact.a][fact.b] || state == FactState::kPractice || isTaken)
            weak.push_back(fact);
        else if (state == FactState::kNotYet)
            fresh.push_back(fact);
        else
            (state == FactState::kKnown ? known : almost).push_back(fact);
    }
    while (static_cast<int>(taken.size()) < kNewAtOnce && !fresh.empty()) {
        const Operands fact = Pick(fresh, random);
        taken.push_back(fact);
        weak.push_back(fact);
        std::erase(fresh, fact);
    }
    const bool weakTurn = random.Rand() % kWeakShare == 0;
    if ((weakTurn || (almost.empty() && known.empty())) && !weak.empty()) return Pick(weak, random);
    if (!almost.empty() && (known.empty() || random.Rand() % 3 != 0)) return Pick(almost, random);
    if (!known.empty()) return Pick(known, random);
    return Pick(Allowed(quizMode), random);
}
