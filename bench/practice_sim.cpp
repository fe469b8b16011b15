// How many questions a simulated child needs until every fact of a kind is できた (of 九九 and
// わりざん the 段 1 to 9, × 1 to × 9; of ひきざん all 100), with the game's own draw (ぜんぶ),
// one 段 after another in each order, and にがて. A model, not a claim about children:
// - each fact has a chance p of being recalled: 0.6 at first where its row or column (an
//   operand, or for the inverses the number taken away or divided by, or the answer) is 0 or
//   1, 0.1 for the others;
// - recalled, it is answered right with no wrong hit, within the fluency time 9 times in 10
//   (steering and shooting vary), slowly otherwise; not recalled, it is worked out slowly
//   half the time, and hit wrong the other half;
// - after each question p moves a quarter of the way to 1 when answered right, and a sixth
//   of the way when missed (the right tile is shown by the hit);
// - the child plays 40 questions a day; each day away, a fact's p falls by a fifth, divided by
//   one more than the times it was answered right (well-practised facts are kept longer);
// - a fact is できた by the records' own rule: fluent in 2 of its last 3 tries.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string_view>
#include <vector>

#include "game/fizmo_view.h"
#include "game/practice.h"
#include "records/fact_state.h"

namespace {

constexpr int kChildren = 100;
constexpr int kQuestionsADay = 40;
constexpr long kGiveUp = 100000;

class Lcg final : public Random {
public:
    explicit Lcg(unsigned seed) : state_(seed) {}
    int Rand() override {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<int>(state_ >> 33);
    }
    void Seed(unsigned seed) override { state_ = seed; }
    double Uniform() { return (Rand() & 0xFFFFFF) / double(1 << 24); }

private:
    unsigned long long state_;
};

struct Child {
    const FactKind& kind;
    FactGrid<double> recall{};
    FactGrid<int> rights{};
    FactGrid<std::vector<TryOutcome>> tries{};

    explicit Child(const FactKind& k) : kind(k) {
        for (int a = 0; a < kOperands; ++a)
            for (int b = 0; b < kOperands; ++b) recall[a][b] = a <= 1 || b <= 1 ? 0.6 : 0.1;
    }
    FactState State(int a, int b) const { return StateOf(tries[a][b]); }
    FactGrid<FactState> States() const {
        FactGrid<FactState> grid{};
        for (int a = 0; a < kOperands; ++a)
            for (int b = 0; b < kOperands; ++b) grid[a][b] = State(a, b);
        return grid;
    }
    bool AllKnown(int firstTable = 0, int lastTable = kLastTable) const {
        const int first = kind.tables ? 1 : 0;
        for (int a = std::max(firstTable, first); a <= lastTable; ++a)
            for (int b = first; b < kOperands; ++b)
                if (State(a, b) != FactState::kKnown) return false;
        return true;
    }
    // One try; true when missed.
    bool Answer(Operands shown, Lcg& random) {
        const GridCell cell = kind.place(shown);
        const Operands f{cell.row, cell.column};
        double& p = recall[f.a][f.b];
        TryOutcome outcome = TryOutcome::kSlow;
        if (random.Uniform() < p)
            outcome = random.Uniform() < 0.9 ? TryOutcome::kFluent : TryOutcome::kSlow;
        else if (random.Uniform() < 0.5)
            outcome = TryOutcome::kMissed;
        const bool missed = outcome == TryOutcome::kMissed;
        p += (1 - p) * (missed ? 1.0 / 6 : 0.25);
        rights[f.a][f.b] += !missed;
        auto& kept = tries[f.a][f.b];
        kept.push_back(outcome);
        if (kept.size() > kTriesThatCount) kept.erase(kept.begin());
        return missed;
    }
    void NextDay() {
        for (int a = 0; a < kOperands; ++a)
            for (int b = 0; b < kOperands; ++b) recall[a][b] *= 1 - 0.2 / (1 + rights[a][b]);
    }
};

// Plays days of questions chosen by `choose` until `done`; the number of questions asked.
long Play(Child& child, Lcg& random, const std::function<QuestionChooser*(Child&)>& choose,
          const std::function<bool(const Child&)>& done) {
    long asked = 0;
    while (!done(child) && asked < kGiveUp) {
        QuestionChooser* chooser = choose(child);
        if (chooser) chooser->Begin();
        for (int q = 0; q < kQuestionsADay && !done(child); ++q, ++asked) {
            const int mode = child.kind.quizMode;
            const Operands f = chooser ? chooser->Next(mode, random) : child.kind.draw(random);
            const bool missed = child.Answer(f, random);
            if (chooser) chooser->Ended(mode, f, missed);
        }
        child.NextDay();
    }
    return asked;
}

long Everything(Child& child, Lcg& random) {
    return Play(
        child, random, [](Child&) { return nullptr; }, [](const Child& c) { return c.AllKnown(); });
}

long Weak(Child& child, Lcg& random) {
    PracticeChooser chooser(PracticeSettings{0, TableOrder::kUp, true});
    return Play(
        child, random,
        [&](Child& c) {
            KindStates states{};
            states[c.kind.index] = c.States();
            chooser.SetStates(states, true);
            return &chooser;
        },
        [](const Child& c) { return c.AllKnown(); });
}

// Each 段 until its facts are できた, then the next; then again from the first 段 that slipped.
long TableByTable(Child& child, Lcg& random, TableOrder order) {
    long asked = 0;
    while (!child.AllKnown() && asked < kGiveUp)
        for (int table = 1; table <= kLastTable && asked < kGiveUp; ++table) {
            if (child.AllKnown(table, table)) continue;
            PracticeChooser chooser(PracticeSettings{table, order, false});
            asked += Play(
                child, random, [&](Child&) { return &chooser; },
                [table](const Child& c) { return c.AllKnown(table, table); });
        }
    return asked;
}

long Median(std::vector<long> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main() {
    const std::pair<const char*, std::function<long(Child&, Lcg&)>> strategies[] = {
        {"ぜんぶ (the game's own draw)", Everything},
        {"段 by 段, あがり", [](Child& c, Lcg& r) { return TableByTable(c, r, TableOrder::kUp); }},
        {"段 by 段, さがり",
         [](Child& c, Lcg& r) { return TableByTable(c, r, TableOrder::kDown); }},
        {"段 by 段, バラ",
         [](Child& c, Lcg& r) { return TableByTable(c, r, TableOrder::kShuffle); }},
        {"にがてを多めに", Weak},
    };
    for (int k = 0; k < kFactKinds; ++k) {
        const FactKind& kind = KindAt(k);
        long everything = 0;
        std::printf("%s: questions until every fact is できた, median of %d children\n", kind.name,
                    kChildren);
        for (const auto& [name, play] : strategies) {
            if (!kind.tables && std::string_view(name).starts_with("段")) continue;
            std::vector<long> counts;
            for (int n = 0; n < kChildren; ++n) {
                Child child(kind);
                Lcg random(1000 + n);
                counts.push_back(play(child, random));
            }
            const long median = Median(counts);
            if (!everything) everything = median;
            std::printf("%-32s %6ld  (%.2f x ぜんぶ)\n", name, median, double(median) / everything);
        }
    }
}
