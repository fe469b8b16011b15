#pragma once
// Practice a grown-up chooses instead of the game's own draw of two random operands: one 段
// of the times tables in an order, and more of the facts the child does not know yet. The
// next question and the space bar both ask through QuestionChooser; without one, the game
// draws as it always has. The facts' states come from the child's records, handed in by the
// program: the game never reads a file.

#include <array>
#include <vector>

#include "game/random.h"

constexpr int kOperands = 10;  // the game asks operands 0 to 9
constexpr int kLastTable = 9;  // 九九 goes up to the 9のだん

// One fact's grid: [a][b] for a × b or a ＋ b.
template <typename T>
using FactGrid = std::array<std::array<T, kOperands>, kOperands>;

enum class FactState {
    kNotYet,    // まだ: never asked
    kKnown,     // できた: right, with no wrong hit, within the fluency time, 2 of the last 3
    kAlmost,    // もうすこし: asked, and neither of the others
    kPractice,  // れんしゅう中: missed (a wrong hit, or not answered) 2 of the last 3
};

struct Operands {
    int a = 0;
    int b = 0;
    bool operator==(const Operands&) const = default;
};

class QuestionChooser {
public:
    virtual ~QuestionChooser() = default;
    // A game begins.
    virtual void Begin() {}
    // The next question's operands; `quizMode` is kQuizTimesTable or kQuizAddition.
    virtual Operands Next(int quizMode, Random& random) = 0;
    // A question ended: `missed` with a wrong hit, or when it was not answered.
    virtual void Ended(int quizMode, Operands question, bool missed) = 0;
};

enum class TableOrder { kUp, kDown, kShuffle };

struct PracticeSettings {
    int table = 0;  // 1 to 9 for one 段 of 九九; 0 for every fact (ぜんぶ)
    TableOrder order = TableOrder::kUp;
    bool weak = false;  // にがてを多めに
    // Whether the game's own draw does it all.
    bool Plain() const { return table == 0 && !weak; }
};

class PracticeChooser final : public QuestionChooser {
public:
    explicit PracticeChooser(PracticeSettings settings = {}) : settings_(settings) {}

    // The states from the child's records; `any` is false when they have none.
    void SetStates(const FactGrid<FactState>& times, const FactGrid<FactState>& addition, bool any);

    void Begin() override;
    Operands Next(int quizMode, Random& random) override;
    void Ended(int quizMode, Operands question, bool missed) override;

private:
    struct Due {
        long question;
        int quizMode;
        Operands fact;
    };

    Operands NextInTable(Random& random);
    Operands NextWeak(int quizMode, Random& random);
    std::vector<Operands> Allowed(int quizMode) const;

    PracticeSettings settings_;
    FactGrid<FactState> states_[2]{};
    FactGrid<bool> missedNow_[2]{};  // missed in this game
    bool anyRecords_ = false;
    long asked_ = 0;
    int step_ = 0;  // the place in the 段's order
    std::vector<int> deck_;
    std::vector<Due> due_;
    std::vector<Operands> newFacts_[2];  // never-asked facts taken up this game
};

// The game's own draw: two operands from 0 to 9, the first drawn first.
Operands DrawOperands(Random& random);
