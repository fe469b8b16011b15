#pragma once
// Practice a grown-up chooses instead of the game's own draw: one 段 in an order, only the
// facts with (or without) a くりあがり, and more of the facts the child does not know yet. The
// next question and the space bar both ask through QuestionChooser; without one, the game
// draws as it always has. The facts' states come from the child's records, handed in by the
// program: the game never reads a file.

#include <array>
#include <vector>

#include "game/fact_kind.h"
#include "game/random.h"

enum class FactState {
    kNotYet,    // まだ: never asked
    kKnown,     // できた: right, with no wrong hit, within the fluency time, 2 of the last 3
    kAlmost,    // もうすこし: asked, and neither of the others
    kPractice,  // れんしゅう中: missed (a wrong hit, or not answered) 2 of the last 3
};

// Each kind's grid of states, in the order of KindAt.
using KindStates = std::array<FactGrid<FactState>, kFactKinds>;

class QuestionChooser {
public:
    virtual ~QuestionChooser() = default;
    // A game begins.
    virtual void Begin() {}
    // The next question's operands, as shown; `quizMode` is one with a FactKind.
    virtual Operands Next(int quizMode, Random& random) = 0;
    // A question ended: `missed` with a wrong hit, or when it was not answered.
    virtual void Ended(int quizMode, Operands question, bool missed) = 0;
};

enum class TableOrder { kUp, kDown, kShuffle };
// くりあがり・くりさがり: ぜんぶ, なし (sums below 10), だけ (sums of 10 or more).
enum class CarryChoice { kAll, kNone, kOnly };

struct PracticeSettings {
    int table = 0;  // 1 to 9 for one 段 of 九九 or わりざん; 0 for every fact (ぜんぶ)
    TableOrder order = TableOrder::kUp;
    bool weak = false;  // にがてを多めに
    CarryChoice carry = CarryChoice::kAll;
    // Whether the game's own draw does it all.
    bool Plain() const { return table == 0 && !weak && carry == CarryChoice::kAll; }
};

class PracticeChooser final : public QuestionChooser {
public:
    explicit PracticeChooser(PracticeSettings settings = {}) : settings_(settings) {}

    // The states from the child's records; `any` is false when they have none.
    void SetStates(const KindStates& states, bool any);

    void Begin() override;
    Operands Next(int quizMode, Random& random) override;
    void Ended(int quizMode, Operands question, bool missed) override;

    // Whether practice may ask the fact in `cell` of `kind`'s grid.
    bool Allows(const FactKind& kind, GridCell cell) const;

private:
    struct Due {
        long question;
        int kind;
        GridCell cell;
    };

    bool InTable(const FactKind& kind) const;
    std::vector<GridCell> Allowed(const FactKind& kind) const;
    Operands NextInTable(const FactKind& kind, Random& random);
    Operands NextDrawn(const FactKind& kind, Random& random);
    Operands NextWeak(const FactKind& kind, Random& random);
    bool TakeDue(const FactKind& kind, GridCell* cell);

    PracticeSettings settings_;
    KindStates states_{};
    std::array<FactGrid<int>, kFactKinds> comebacks_{};  // a missed fact's returns this game
    bool anyRecords_ = false;
    long asked_ = 0;
    int step_ = 0;  // the place in the 段's order
    std::vector<int> deck_;
    std::vector<Due> due_;
    bool lastWasDue_ = false;
    std::array<std::vector<GridCell>, kFactKinds> newFacts_;  // never-asked, taken up this game
};
