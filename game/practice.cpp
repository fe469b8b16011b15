#include "game/practice.h"

#include <algorithm>

namespace {

constexpr int kWeakShare = 3;    // one question in three, of those not due, is a weak fact
constexpr int kNewAtOnce = 4;    // never-asked facts taken up in one game
constexpr int kBackSoonest = 3;  // a missed fact comes back within 3 to 5 questions
constexpr int kBackLatest = 5;
constexpr int kComebacks = 2;  // and at most twice a game, however often it is missed

GridCell Pick(const std::vector<GridCell>& cells, Random& random) {
    return cells[static_cast<std::size_t>(random.Rand()) % cells.size()];
}

}  // namespace

void PracticeChooser::SetStates(const KindStates& states, bool any) {
    states_ = states;
    anyRecords_ = any;
}

void PracticeChooser::Begin() {
    step_ = 0;
    deck_.clear();
    due_.clear();
    lastWasDue_ = false;
    comebacks_ = {};
    for (auto& taken : newFacts_) taken.clear();
}

Operands PracticeChooser::Next(int quizMode, Random& random) {
    const FactKind* kind = KindOf(quizMode);
    if (!kind) return DrawOperands(random);
    ++asked_;
    if (settings_.weak && anyRecords_) return NextWeak(*kind, random);
    if (InTable(*kind)) return NextInTable(*kind, random);
    return NextDrawn(*kind, random);
}

void PracticeChooser::Ended(int quizMode, Operands fact, bool missed) {
    const FactKind* kind = KindOf(quizMode);
    if (!missed || !kind || !kind->valid(fact)) return;
    const GridCell cell = kind->place(fact);
    int& comebacks = comebacks_[kind->index][cell.row][cell.column];
    if (comebacks == kComebacks) return;
    ++comebacks;
    // Asked again a few questions on, while it is still fresh.
    const long later =
        kBackSoonest + (asked_ + cell.row + cell.column) % (kBackLatest - kBackSoonest + 1);
    due_.push_back({asked_ + later, kind->index, cell});
}

bool PracticeChooser::InTable(const FactKind& kind) const {
    return settings_.table > 0 && kind.tables;
}

// A 段 is its facts × 1 to × 9 (or ÷ the 段 with answers 1 to 9), as it is recited.
bool PracticeChooser::Allows(const FactKind& kind, GridCell cell) const {
    if (!InGrid(kind, cell)) return false;
    if (InTable(kind) && (cell.row != settings_.table || cell.column < 1)) return false;
    if (!kind.carries || settings_.carry == CarryChoice::kAll) return true;
    return kind.carry(kind.factAt(cell)) == (settings_.carry == CarryChoice::kOnly);
}

std::vector<GridCell> PracticeChooser::Allowed(const FactKind& kind) const {
    std::vector<GridCell> cells;
    for (int row = 0; row < kOperands; ++row)
        for (int column = 0; column < kOperands; ++column)
            if (Allows(kind, {row, column})) cells.push_back({row, column});
    return cells;
}

// あがり 1 to 9, さがり 9 to 1, バラ each once in a shuffled order, then a new shuffle.
Operands PracticeChooser::NextInTable(const FactKind& kind, Random& random) {
    int column = 0;
    if (settings_.order == TableOrder::kShuffle) {
        if (deck_.empty()) {
            for (int n = kLastTable; n >= 1; --n) deck_.push_back(n);
            for (std::size_t i = deck_.size() - 1; i > 0; --i)
                std::swap(deck_[i], deck_[static_cast<std::size_t>(random.Rand()) % (i + 1)]);
        }
        column = deck_.back();
        deck_.pop_back();
    } else {
        const int place = step_ % kLastTable;
        column = settings_.order == TableOrder::kUp ? place + 1 : kLastTable - place;
    }
    ++step_;
    return kind.factAt({settings_.table, column});
}

// The kind's own draw, or each allowed fact equally likely when a choice leaves some out.
Operands PracticeChooser::NextDrawn(const FactKind& kind, Random& random) {
    if (!kind.carries || settings_.carry == CarryChoice::kAll) return kind.draw(random);
    return kind.factAt(Pick(Allowed(kind), random));
}

// A fact missed in this game once it is due, but never two such in a row: however much
// the child misses, the rest keep their share.
bool PracticeChooser::TakeDue(const FactKind& kind, GridCell* cell) {
    const bool turn = !lastWasDue_;
    lastWasDue_ = false;
    if (!turn) return false;
    for (auto due = due_.begin(); due != due_.end(); ++due)
        if (due->kind == kind.index && due->question <= asked_ && Allows(kind, due->cell)) {
            *cell = due->cell;
            due_.erase(due);
            lastWasDue_ = true;
            return true;
        }
    return false;
}

// A missed fact when it is due; else one question in three a weak fact (half the time one
// the records say is れんしゅう中, half the time one of the few never-asked facts taken up in
// this game), and the rest facts the child has answered, those not yet fluent first, so that
// the child keeps succeeding. A kind the child has not played yet is spread over its facts.
Operands PracticeChooser::NextWeak(const FactKind& kind, Random& random) {
    GridCell cell;
    if (TakeDue(kind, &cell)) return kind.factAt(cell);
    const FactGrid<FactState>& states = states_[kind.index];
    std::vector<GridCell>& taken = newFacts_[kind.index];
    std::vector<GridCell> practice, fresh, almost, known;
    for (const GridCell& c : Allowed(kind)) {
        const FactState state = states[c.row][c.column];
        if (std::find(taken.begin(), taken.end(), c) != taken.end()) continue;
        if (state == FactState::kPractice)
            practice.push_back(c);
        else if (state == FactState::kNotYet)
            fresh.push_back(c);
        else
            (state == FactState::kKnown ? known : almost).push_back(c);
    }
    while (static_cast<int>(taken.size()) < kNewAtOnce && !fresh.empty()) {
        const GridCell c = Pick(fresh, random);
        taken.push_back(c);
        std::erase(fresh, c);
    }
    if (random.Rand() % kWeakShare == 0 && (!practice.empty() || !taken.empty())) {
        const bool fromRecords = taken.empty() || (!practice.empty() && random.Rand() % 2 == 0);
        return kind.factAt(Pick(fromRecords ? practice : taken, random));
    }
    if (!almost.empty() && (known.empty() || random.Rand() % 3 != 0))
        return kind.factAt(Pick(almost, random));
    if (!known.empty()) return kind.factAt(Pick(known, random));
    if (!fresh.empty()) return kind.factAt(Pick(fresh, random));
    return kind.factAt(Pick(Allowed(kind), random));  // every one of them is weak
}
